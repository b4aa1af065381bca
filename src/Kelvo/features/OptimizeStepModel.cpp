#include "features/OptimizeStepModel.h"

#include "optimize/OptimizePreviewCatalog.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/DurationText.h"

#include <QHash>

#include <algorithm>

namespace {

OptimizeStepModel::Tone toneOf(OptimizeStepState state)
{
    switch (state) {
    case OptimizeStepState::willRun:
        return OptimizeStepModel::Run;
    case OptimizeStepState::completed:
        return OptimizeStepModel::Done;
    case OptimizeStepState::failed:
    case OptimizeStepState::timedOut:
        return OptimizeStepModel::Failed;
    default:
        return OptimizeStepModel::Skip;
    }
}

bool ran(const OptimizeStepOutcome& outcome)
{
    return outcome.state == OptimizeStepState::completed || outcome.state == OptimizeStepState::failed ||
           outcome.state == OptimizeStepState::timedOut;
}

} // namespace

OptimizeStepModel::OptimizeStepModel(TargetSystem system, QObject* parent)
    : ResultListModel(parent)
    , m_system(system)
{
}

int OptimizeStepModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QHash<int, QByteArray> OptimizeStepModel::roleNames() const
{
    return {{IdRole, "id"},
            {NameRole, "name"},
            {DescriptionRole, "description"},
            {DetailRole, "detail"},
            {StateLabelRole, "stateLabel"},
            {ToneRole, "tone"},
            {StateTextRole, "stateText"},
            {DurationTextRole, "durationText"}};
}

QVariant OptimizeStepModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Row& row = m_rows[std::size_t(index.row())];
    const OptimizePreviewCatalog::Item* item = OptimizePreviewCatalog::find(row.entry.id, m_system);
    switch (role) {
    case IdRole:
        return row.entry.id;
    case NameRole:
        return item ? AppLocalization::localized(item->zhName, item->enName) : row.entry.name;
    case DescriptionRole:
        return item ? AppLocalization::localized(item->zhDescription, item->enDescription)
                    : row.entry.description;
    case DetailRole:
        return row.entry.detail.value_or(QString());
    case StateLabelRole:
        return row.outcome ? LocalOptimizeExecutor::label(row.outcome->state) : QString();
    case ToneRole:
        return row.outcome ? toneOf(row.outcome->state) : Skip;
    case StateTextRole:
        return row.outcome ? LocalOptimizeExecutor::explanation(*row.outcome) : QString();
    case DurationTextRole:
        return row.outcome && ran(*row.outcome) ? DurationText::seconds(row.outcome->duration) : QString();
    default:
        return {};
    }
}

void OptimizeStepModel::setSteps(const OptimizePreviewReport& report,
                                 const std::vector<OptimizeStepOutcome>& planned,
                                 const std::optional<LocalOptimizeResult>& result)
{
    QHash<QString, const OptimizeStepOutcome*> byId;
    for (const OptimizeStepOutcome& outcome : planned)
        byId.insert(outcome.entry.id, &outcome);
    if (result) // what happened replaces what was planned
        for (const OptimizeStepOutcome& outcome : result->steps)
            byId.insert(outcome.entry.id, &outcome);
    std::vector<Row> rows;
    rows.reserve(report.entries.size());
    for (const OptimizePreviewReport::Entry& entry : report.entries) {
        const OptimizeStepOutcome* outcome = byId.value(entry.id);
        rows.push_back({entry, outcome ? std::optional(*outcome) : std::nullopt});
    }
    const bool sameSteps = std::equal(rows.begin(), rows.end(), m_rows.begin(), m_rows.end(),
                                      [](const Row& a, const Row& b) { return a.entry == b.entry; });
    if (!sameSteps) {
        resetRows([&] { m_rows = std::move(rows); });
        return;
    }
    m_rows = std::move(rows);
    if (!m_rows.empty())
        emit dataChanged(index(0), index(rowCount() - 1));
}
