#pragma once

#include "app/ChoiceListModel.h"

#include "purge/PurgePreviewReport.h"

#include <vector>

// The artefacts of a project scan, largest first, each in the section of its ecosystem. An artefact
// is chosen by its path; a new scan chooses those with a project file around them. Artefacts moved
// to the Trash leave the list.
class PurgeEntryModel : public ChoiceRowsModel<PurgePreviewReport::Entry> {
    Q_OBJECT

public:
    enum Role { NameRole = FirstRowRole, PathRole, SizeTextRole, DetailRole, HasProjectFileRole };
    Q_ENUM(Role)

    using ChoiceRowsModel::ChoiceRowsModel;

    void setEntries(std::vector<PurgePreviewReport::Entry> entries);

    qint64 bytesOf(int row) const override;
    bool chosenByDefault(int row) const override;
    int sectionOf(int row) const override;
    QString sectionTitle(int row) const override;

protected:
    QString keyOfRow(const PurgePreviewReport::Entry& row) const override;
    QVariant rowData(int row, int role) const override;
    QHash<int, QByteArray> rowRoleNames() const override;
};
