#pragma once

#include "optimize/LocalOptimizeExecutor.h"
#include "optimize/OptimizePreviewReport.h"
#include "vocabulary/LocalText.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>
#include <vector>

// The optimisation preview as the page shows it: one row per step with what a run would do now and,
// after a run of that preview, what became of the step. Every text is ready to show.
namespace OptimizeReportPresenter {

// One row per entry, in report order: {id, name, description, detail, stateLabel, tone, stateText,
// durationText}. The state shown is the outcome once `result` has one for the entry, else the plan;
// `tone` ("run", "done", "skip" or "failed") is how the page tints it.
QList<QVariantMap> rows(const OptimizePreviewReport& report, const std::vector<OptimizeStepOutcome>& planned,
                        const std::optional<LocalOptimizeResult>& result);

// "3 will run · 4 skipped", or after a run what became of the steps.
QString summary(const std::vector<OptimizeStepOutcome>& planned,
                const std::optional<LocalOptimizeResult>& result);

// What the confirmation adds to the action's own text: the steps that will run, by name, and how many
// are skipped.
QString confirmation(const std::vector<OptimizeStepOutcome>& planned);

// The status line's detail after a run, from its counts.
LocalText completionDetail(const LocalOptimizeResult& result);

} // namespace OptimizeReportPresenter
