#pragma once

#include "app/ChoiceListModel.h"

#include <vector>

class QSortFilterProxyModel;

// The sections of a choice list as a page heads them: each section's title, how many rows it holds
// and their size, how many of them can be chosen and are, and its rows (a view of the list that holds
// only that section's, so the page lists them under their heading). It follows the list: a changed
// choice or a row gone updates the figures, and a section that empties leaves. The sections come in
// the order their first rows do, or the largest first (equal sizes in the order of their numbers).
class ChoiceSectionModel : public ResultListModel {
    Q_OBJECT

public:
    enum class Order { firstSeen, largestFirst };
    enum Role {
        TitleRole = Qt::UserRole,
        CountRole,
        BytesRole,
        ChoosableCountRole,
        ChosenCountRole,
        RowsRole
    };
    Q_ENUM(Role)

    ChoiceSectionModel(ChoiceListModel& list, Order order, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Chooses or leaves out every row of the section at that position that can be chosen.
    Q_INVOKABLE void setChosen(int section, bool wanted);

private:
    struct Section {
        int id = 0;
        int firstRow = 0;
        int count = 0;
        int choosableCount = 0;
        int chosenCount = 0;
        qint64 bytes = 0;
        QSortFilterProxyModel* rows = nullptr;
    };
    std::vector<Section> measured() const;
    void follow();

    ChoiceListModel& m_list;
    Order m_order;
    std::vector<Section> m_sections;
};
