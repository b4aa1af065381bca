#pragma once

#include "optimize/LocalOptimizeExecutor.h"
#include "optimize/OptimizePreviewReport.h"
#include "vocabulary/LocalText.h"

#include <QString>

#include <optional>
#include <vector>

// What the optimisation page, its confirmation and the status line say about a preview and a run, in
// the display language (the steps themselves are listed by OptimizeStepModel).
namespace OptimizeReportPresenter {

// "3 will run · 4 skipped", or after a run what became of the steps.
QString summary(const std::vector<OptimizeStepOutcome>& planned,
                const std::optional<LocalOptimizeResult>& result);

// What the confirmation adds to the action's own text: the steps that will run, by name, and how many
// are skipped.
QString confirmation(const std::vector<OptimizeStepOutcome>& planned);

// The status line's detail after a run, from its counts.
LocalText completionDetail(const LocalOptimizeResult& result);

} // namespace OptimizeReportPresenter
