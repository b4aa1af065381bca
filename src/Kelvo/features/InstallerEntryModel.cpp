#include "features/InstallerEntryModel.h"

#include "vocabulary/NaturalOrder.h"

void InstallerEntryModel::setEntries(std::vector<InstallerPreviewReport::Entry> entries)
{
    replaceRows([&] { m_rows = std::move(entries); }, NewChoice::keepListed);
}

QString InstallerEntryModel::keyOfRow(const InstallerPreviewReport::Entry& row) const
{
    return row.path;
}

qint64 InstallerEntryModel::bytesOf(int row) const
{
    return m_rows[std::size_t(row)].byteCount;
}

QVariant InstallerEntryModel::rowData(int row, int role) const
{
    const InstallerPreviewReport::Entry& entry = m_rows[std::size_t(row)];
    switch (role) {
    case NameRole:
        return entry.name;
    case PathRole:
        return entry.path;
    case SourceRole:
        return entry.source.text();
    case KindRole: // empty for the macOS types
        return entry.kindText.text();
    case SizeTextRole:
        return entry.sizeText();
    default:
        return {};
    }
}

QHash<int, QByteArray> InstallerEntryModel::rowRoleNames() const
{
    return {{NameRole, "name"},
            {PathRole, "path"},
            {SourceRole, "source"},
            {KindRole, "kind"},
            {SizeTextRole, "sizeText"}};
}

InstallerShownEntries::InstallerShownEntries(InstallerEntryModel& entries, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_entries(entries)
{
    setSourceModel(&entries);
}

void InstallerShownEntries::show(const QString& location, bool bySize)
{
    m_location = location;
    invalidateFilter();
    // No column: the scan's own order, largest first.
    sort(bySize ? -1 : 0);
}

QStringList InstallerShownEntries::keys() const
{
    QStringList keys;
    for (int row = 0; row < rowCount(); ++row)
        keys.append(m_entries.keyOf(mapToSource(index(row, 0)).row()));
    return keys;
}

bool InstallerShownEntries::filterAcceptsRow(int row, const QModelIndex&) const
{
    return m_location.isEmpty() || m_entries.entryAt(row).location == m_location;
}

bool InstallerShownEntries::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const InstallerPreviewReport::Entry& a = m_entries.entryAt(left.row());
    const InstallerPreviewReport::Entry& b = m_entries.entryAt(right.row());
    const int byName = NaturalOrder::compare(a.name, b.name);
    return byName != 0 ? byName < 0 : NaturalOrder::lessThan(a.path, b.path);
}
