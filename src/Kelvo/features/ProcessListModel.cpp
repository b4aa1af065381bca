#include "features/ProcessListModel.h"

#include "vocabulary/AppLocalization.h"

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
    resetRows([&] { m_rows = std::move(rows); });
}
