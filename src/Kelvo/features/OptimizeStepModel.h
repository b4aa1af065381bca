#pragma once

#include "app/ResultListModel.h"

#include "optimize/LocalOptimizeExecutor.h"
#include "optimize/OptimizePreviewReport.h"
#include "vocabulary/TargetSystem.h"

#include <optional>
#include <vector>

// The optimisation preview's steps as the page lists them, in report order: each step with what a run
// would do with it now or, once a run of that preview ended, what became of it and the time it took.
// The catalogue's steps are named in the language of the moment; the state texts are made when read.
class OptimizeStepModel : public ResultListModel {
    Q_OBJECT

public:
    enum Role {
        IdRole = Qt::UserRole,
        NameRole,
        DescriptionRole,
        DetailRole,
        StateLabelRole,
        ToneRole,
        StateTextRole,
        DurationTextRole,
    };
    // How the page tints a step's state.
    enum Tone { Skip, Run, Done, Failed };
    Q_ENUM(Tone)

    explicit OptimizeStepModel(TargetSystem system, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The report's steps, each with its outcome in the result when it has one, else its plan. The same
    // steps marked anew keep their rows, so a tick in the safeguard editor re-marks the page in place.
    void setSteps(const OptimizePreviewReport& report, const std::vector<OptimizeStepOutcome>& planned,
                  const std::optional<LocalOptimizeResult>& result);

private:
    struct Row {
        OptimizePreviewReport::Entry entry;
        std::optional<OptimizeStepOutcome> outcome;
    };

    TargetSystem m_system;
    std::vector<Row> m_rows;
};
