#include "features/CleanEntryModel.h"

#include "clean/CleanChoice.h"

#include <QStringList>

void CleanEntryModel::setEntries(std::vector<CleanPreviewReport::Entry> entries)
{
    replaceRows(
        [&] {
            QStringList sections;
            m_rows.clear();
            m_rows.reserve(entries.size());
            for (CleanPreviewReport::Entry& entry : entries) {
                // Grouped by a text that does not change with the language.
                qsizetype section = sections.indexOf(entry.section.english);
                if (section < 0) {
                    sections.append(entry.section.english);
                    section = sections.size() - 1;
                }
                m_rows.push_back({std::move(entry), int(section)});
            }
        },
        NewChoice::keepLeftOut); // after a clean, the places the user left out stay out
}

QString CleanEntryModel::keyOfRow(const CleanEntryRow& row) const
{
    return CleanChoice::keyOf(row.entry);
}

qint64 CleanEntryModel::bytesOf(int row) const
{
    return CleanChoice::measuredBytes(m_rows[std::size_t(row)].entry).value_or(0);
}

qint64 CleanEntryModel::willFreeOf(int row) const
{
    return CleanChoice::freedBytes(m_rows[std::size_t(row)].entry);
}

bool CleanEntryModel::isChoosable(int row) const
{
    return CleanChoice::isChoosable(m_rows[std::size_t(row)].entry);
}

int CleanEntryModel::sectionOf(int row) const
{
    return m_rows[std::size_t(row)].section;
}

QString CleanEntryModel::sectionTitle(int row) const
{
    return m_rows[std::size_t(row)].entry.section.text();
}

QVariant CleanEntryModel::rowData(int row, int role) const
{
    const CleanPreviewReport::Entry& entry = m_rows[std::size_t(row)].entry;
    switch (role) {
    case PathRole:
        return entry.path;
    case NoteRole:
        return entry.note ? entry.note->text() : QString();
    case StatusRole:
        return int(entry.status); // CleanEntryStatus in the views
    case SectionRole:
        return entry.section.text();
    default:
        return {};
    }
}

QHash<int, QByteArray> CleanEntryModel::rowRoleNames() const
{
    return {{PathRole, "path"}, {NoteRole, "note"}, {StatusRole, "status"}, {SectionRole, "section"}};
}
