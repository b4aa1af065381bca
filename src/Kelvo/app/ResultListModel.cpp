#include "app/ResultListModel.h"

#include "app/LocalizationSettings.h"

ResultListModel::ResultListModel(QObject* parent)
    : QAbstractListModel(parent)
{
    connect(&LocalizationSettings::shared(), &LocalizationSettings::preferenceChanged, this,
            &ResultListModel::announceAllChanged);
}

void ResultListModel::resetRows(const std::function<void()>& replace)
{
    const int before = rowCount();
    beginResetModel();
    replace();
    endResetModel();
    if (rowCount() != before)
        emit countChanged();
}

void ResultListModel::removeRowsWhere(const std::function<bool(int row)>& goes,
                                      const std::function<void()>& remove)
{
    // Runs of consecutive rows that go, last first, so each run's indexes still hold when it is
    // announced; the storage is changed once, inside the outermost announcement.
    std::vector<std::pair<int, int>> runs;
    for (int row = 0; row < rowCount(); ++row) {
        if (!goes(row))
            continue;
        if (!runs.empty() && runs.back().second == row - 1)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    if (runs.empty())
        return;
    if (runs.size() == 1) {
        beginRemoveRows({}, runs.front().first, runs.front().second);
        remove();
        endRemoveRows();
    } else {
        // Several separate runs: one reset is simpler than announcing each and cheap at these sizes.
        beginResetModel();
        remove();
        endResetModel();
    }
    emit countChanged();
}

void ResultListModel::announceAllChanged()
{
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1));
}
