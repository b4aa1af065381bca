#pragma once

#include "app/ChoiceListModel.h"

#include "clean/CleanPreviewReport.h"

#include <vector>

// The entries of a Smart Clean preview, in report order, each under its section (sections numbered
// in the order they first appear). An entry is chosen by its location; only what would remove
// something can be chosen, and a new preview chooses all of that. What a choice frees is what the
// protection list does not keep.
class CleanEntryModel : public ChoiceListModel {
    Q_OBJECT

public:
    enum Role { PathRole = FirstRowRole, NoteRole, StatusRole, SectionRole };
    Q_ENUM(Role)

    using ChoiceListModel::ChoiceListModel;

    void setEntries(std::vector<CleanPreviewReport::Entry> entries);

    int rowCount(const QModelIndex& parent = {}) const override;
    QString keyOf(int row) const override;
    qint64 bytesOf(int row) const override;
    qint64 willFreeOf(int row) const override;
    bool isChoosable(int row) const override;
    int sectionOf(int row) const override;
    QString sectionTitle(int row) const override;

protected:
    QVariant rowData(int row, int role) const override;
    QHash<int, QByteArray> rowRoleNames() const override;
    void eraseKeys(const QSet<QString>& keys) override;

private:
    struct Row {
        CleanPreviewReport::Entry entry;
        int section = 0;
    };
    std::vector<Row> m_rows;
};
