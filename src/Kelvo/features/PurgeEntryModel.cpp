#include "features/PurgeEntryModel.h"

void PurgeEntryModel::setEntries(std::vector<PurgePreviewReport::Entry> entries)
{
    replaceRows([&] { m_rows = std::move(entries); }, NewChoice::byDefault);
}

QString PurgeEntryModel::keyOfRow(const PurgePreviewReport::Entry& row) const
{
    return row.path;
}

qint64 PurgeEntryModel::bytesOf(int row) const
{
    return m_rows[std::size_t(row)].byteCount;
}

bool PurgeEntryModel::chosenByDefault(int row) const
{
    return m_rows[std::size_t(row)].chosenByDefault();
}

int PurgeEntryModel::sectionOf(int row) const
{
    return int(m_rows[std::size_t(row)].ecosystem);
}

QString PurgeEntryModel::sectionTitle(int row) const
{
    return PurgeEcosystems::title(m_rows[std::size_t(row)].ecosystem);
}

QVariant PurgeEntryModel::rowData(int row, int role) const
{
    const PurgePreviewReport::Entry& entry = m_rows[std::size_t(row)];
    switch (role) {
    case NameRole:
        return entry.name;
    case PathRole:
        return entry.path;
    case SizeTextRole:
        return entry.sizeText();
    case DetailRole:
        return entry.detailText().value_or(QString());
    case HasProjectFileRole:
        return !entry.projectFile.isEmpty();
    default:
        return {};
    }
}

QHash<int, QByteArray> PurgeEntryModel::rowRoleNames() const
{
    return {{NameRole, "name"},
            {PathRole, "path"},
            {SizeTextRole, "sizeText"},
            {DetailRole, "detail"},
            {HasProjectFileRole, "hasProjectFile"}};
}
