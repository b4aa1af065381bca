#pragma once

#include "app/ChoiceListModel.h"

#include "clean/CleanPreviewReport.h"

#include <vector>

// A Smart Clean entry as the list keeps it, with the number of its section.
struct CleanEntryRow {
    CleanPreviewReport::Entry entry;
    int section = 0;
};

// The entries of a Smart Clean preview, in report order, each under its section (sections numbered
// in the order they first appear). An entry is chosen by its location; only what would remove
// something can be chosen, and a new preview chooses all of that but what the user left out of the
// last one (a clean keeps the exclusions). What a choice frees is what the
// protection list does not keep.
class CleanEntryModel : public ChoiceRowsModel<CleanEntryRow> {
    Q_OBJECT

public:
    enum Role { PathRole = FirstRowRole, NoteRole, StatusRole, SectionRole };
    Q_ENUM(Role)

    using ChoiceRowsModel::ChoiceRowsModel;

    void setEntries(std::vector<CleanPreviewReport::Entry> entries);

    qint64 bytesOf(int row) const override;
    qint64 willFreeOf(int row) const override;
    bool isChoosable(int row) const override;
    int sectionOf(int row) const override;
    QString sectionTitle(int row) const override;

protected:
    QString keyOfRow(const CleanEntryRow& row) const override;
    QVariant rowData(int row, int role) const override;
    QHash<int, QByteArray> rowRoleNames() const override;
};
