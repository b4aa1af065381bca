#include "features/ScanLocationModel.h"

int ScanLocationModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_locations.size());
}

QHash<int, QByteArray> ScanLocationModel::roleNames() const
{
    return {{PathRole, "path"}, {SourceRole, "source"}, {ExistsRole, "exists"}};
}

QVariant ScanLocationModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const LocalInstallerPreview::ScanLocation& location = m_locations[std::size_t(index.row())];
    switch (role) {
    case PathRole:
        return location.path;
    case SourceRole:
        return location.source.text();
    case ExistsRole:
        return location.exists;
    default:
        return {};
    }
}

void ScanLocationModel::setLocations(std::vector<LocalInstallerPreview::ScanLocation> locations)
{
    if (locations == m_locations)
        return;
    resetRows([&] { m_locations = std::move(locations); });
}
