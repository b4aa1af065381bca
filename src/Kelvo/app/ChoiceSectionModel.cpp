#include "app/ChoiceSectionModel.h"

#include "vocabulary/ByteCount.h"

#include <QSortFilterProxyModel>

#include <algorithm>
#include <map>

namespace {

// The rows of one section, in the list's order.
class SectionRows : public QSortFilterProxyModel {
public:
    SectionRows(ChoiceListModel& list, int section, QObject* parent)
        : QSortFilterProxyModel(parent)
        , m_list(list)
        , m_section(section)
    {
        setSourceModel(&list);
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override
    {
        return m_list.sectionOf(row) == m_section;
    }

private:
    ChoiceListModel& m_list;
    int m_section;
};

} // namespace

ChoiceSectionModel::ChoiceSectionModel(ChoiceListModel& list, Order order, QObject* parent)
    : ResultListModel(parent)
    , m_list(list)
    , m_order(order)
{
    connect(&list, &ChoiceListModel::choiceChanged, this, &ChoiceSectionModel::follow);
    follow();
}

int ChoiceSectionModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_sections.size());
}

QVariant ChoiceSectionModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Section& section = m_sections[std::size_t(index.row())];
    switch (role) {
    case TitleRole: // the list may have been replaced a moment before this follows it
        return section.firstRow < m_list.rowCount() ? m_list.sectionTitle(section.firstRow) : QString();
    case CountRole:
        return section.count;
    case BytesRole:
        return section.bytes;
    case ChoosableCountRole:
        return section.choosableCount;
    case ChosenCountRole:
        return section.chosenCount;
    case RowsRole:
        return QVariant::fromValue<QObject*>(section.rows);
    default:
        return {};
    }
}

QHash<int, QByteArray> ChoiceSectionModel::roleNames() const
{
    return {{TitleRole, "title"},
            {CountRole, "count"},
            {BytesRole, "bytes"},
            {ChoosableCountRole, "choosableCount"},
            {ChosenCountRole, "chosenCount"},
            {RowsRole, "rows"}};
}

void ChoiceSectionModel::setChosen(int section, bool wanted)
{
    if (section < 0 || section >= rowCount())
        return;
    QStringList keys;
    for (int row = 0; row < m_list.rowCount(); ++row)
        if (m_list.sectionOf(row) == m_sections[std::size_t(section)].id)
            keys.append(m_list.keyOf(row));
    m_list.setChosen(keys, wanted);
}

std::vector<ChoiceSectionModel::Section> ChoiceSectionModel::measured() const
{
    std::map<int, Section> byId;
    for (int row = 0; row < m_list.rowCount(); ++row) {
        const int id = m_list.sectionOf(row);
        const auto [found, added] = byId.try_emplace(id, Section{id, row});
        Section& section = found->second;
        ++section.count;
        section.bytes = ByteCount::saturatingAdd(section.bytes, m_list.bytesOf(row));
        if (!m_list.isChoosable(row))
            continue;
        ++section.choosableCount;
        section.chosenCount += m_list.chosen().contains(m_list.keyOf(row)) ? 1 : 0;
    }
    std::vector<Section> sections;
    for (const auto& [id, section] : byId)
        sections.push_back(section);
    if (m_order == Order::firstSeen)
        std::sort(sections.begin(), sections.end(),
                  [](const Section& a, const Section& b) { return a.firstRow < b.firstRow; });
    else
        std::stable_sort(sections.begin(), sections.end(),
                         [](const Section& a, const Section& b) { return a.bytes > b.bytes; });
    return sections;
}

void ChoiceSectionModel::follow()
{
    std::vector<Section> next = measured();
    const bool sameSections = std::equal(next.begin(), next.end(), m_sections.begin(), m_sections.end(),
                                         [](const Section& a, const Section& b) { return a.id == b.id; });
    if (sameSections) {
        // The same headings: their figures (and a new report's titles) change, their rows follow the
        // list by themselves.
        for (std::size_t i = 0; i < next.size(); ++i)
            next[i].rows = m_sections[i].rows;
        m_sections = std::move(next);
        if (!m_sections.empty())
            emit dataChanged(index(0), index(rowCount() - 1),
                             {TitleRole, CountRole, BytesRole, ChoosableCountRole, ChosenCountRole});
        return;
    }
    std::vector<Section> previous = m_sections;
    resetRows([&] {
        for (Section& section : next)
            section.rows = new SectionRows(m_list, section.id, this);
        m_sections = std::move(next);
    });
    // The views let go of the old rows during the reset.
    for (const Section& section : previous)
        section.rows->deleteLater();
}
