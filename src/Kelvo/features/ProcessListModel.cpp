#include "features/ProcessListModel.h"

#include "vocabulary/AppLocalization.h"

#include <algorithm>

namespace {

QString percentText(std::optional<double> percent)
{
    return percent ? QString::asprintf("%.1f%%", *percent) : QStringLiteral("—");
}

} // namespace

int ProcessListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QHash<int, QByteArray> ProcessListModel::roleNames() const
{
    return {{PidRole, "pid"},
            {StartTimeRole, "startTime"},
            {NameRole, "name"},
            {CommandRole, "command"},
            {ExecutableRole, "executable"},
            {CpuTextRole, "cpuText"},
            {MemoryTextRole, "memoryText"},
            {CanEndRole, "canEnd"}};
}

QVariant ProcessListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Row& row = m_rows[std::size_t(index.row())];
    const SystemReport::ProcessInfo& process = row.process;
    switch (role) {
    case PidRole:
        return process.pid ? QVariant(*process.pid) : QVariant();
    case StartTimeRole:
        return process.startTime ? QString::number(*process.startTime) : QString();
    case NameRole:
        return process.name.value_or(
            AppLocalization::localized(QStringLiteral("进程"), QStringLiteral("Process")));
    case CommandRole:
        return process.command.value_or(QString());
    case ExecutableRole:
        return row.executable;
    case CpuTextRole:
        return percentText(process.cpu);
    case MemoryTextRole:
        return percentText(process.memory);
    case CanEndRole:
        return row.canEnd;
    default:
        return {};
    }
}

void ProcessListModel::setRows(std::vector<Row> rows)
{
    const int countBefore = rowCount();
    // The rows whose process is not in the new list go first, last first.
    for (int at = int(m_rows.size()) - 1; at >= 0; --at) {
        const Key key = keyOf(m_rows[std::size_t(at)]);
        if (std::none_of(rows.begin(), rows.end(), [&](const Row& row) { return keyOf(row) == key; })) {
            beginRemoveRows({}, at, at);
            m_rows.erase(m_rows.begin() + at);
            endRemoveRows();
        }
    }
    // Then each place in turn takes its new row: the same process moved up from below, or a new one.
    for (int at = 0; at < int(rows.size()); ++at) {
        Row& wanted = rows[std::size_t(at)];
        const auto found = std::find_if(m_rows.begin() + std::min<qsizetype>(at, m_rows.size()), m_rows.end(),
                                        [&](const Row& row) { return keyOf(row) == keyOf(wanted); });
        if (found == m_rows.end()) {
            beginInsertRows({}, at, at);
            m_rows.insert(m_rows.begin() + at, std::move(wanted));
            endInsertRows();
            continue;
        }
        if (const int from = int(found - m_rows.begin()); from != at) {
            beginMoveRows({}, from, from, {}, at);
            std::rotate(m_rows.begin() + at, m_rows.begin() + from, m_rows.begin() + from + 1);
            endMoveRows();
        }
        Row& shown = m_rows[std::size_t(at)];
        const bool same =
            shown.process.cpu == wanted.process.cpu && shown.process.memory == wanted.process.memory &&
            shown.canEnd == wanted.canEnd && shown.process.name == wanted.process.name &&
            shown.process.command == wanted.process.command && shown.executable == wanted.executable;
        shown = std::move(wanted);
        if (!same)
            emit dataChanged(index(at), index(at));
    }
    if (rowCount() != countBefore)
        emit countChanged();
}
