#pragma once

#include "app/ChoiceListModel.h"

#include "uninstall/UninstallPreviewReport.h"

#include <vector>

// One application's leftovers, strong matches first. A leftover is chosen by its path; the app's list
// starts with its strong matches chosen, the possible ones offered.
class UninstallLeftoverModel : public ChoiceRowsModel<UninstallPreviewReport::Leftover> {
    Q_OBJECT

public:
    enum Role { PathRole = FirstRowRole, SizeTextRole, StrongRole };
    Q_ENUM(Role)

    UninstallLeftoverModel(std::vector<UninstallPreviewReport::Leftover> leftovers, QObject* parent);

    qint64 bytesOf(int row) const override;
    bool chosenByDefault(int row) const override;

protected:
    QString keyOfRow(const UninstallPreviewReport::Leftover& row) const override;
    QVariant rowData(int row, int role) const override;
    QHash<int, QByteArray> rowRoleNames() const override;
};

// An installed application as the list keeps it, with the list of its leftovers.
struct UninstallAppRow {
    UninstallPreviewReport::Entry entry;
    UninstallLeftoverModel* leftovers; // a child of the app list
};

// The installed applications, in the report's order, each with the list of its leftovers. An app is
// chosen by its id; a new scan keeps the apps still listed that were chosen and starts every app's
// leftovers over. Apps that went leave the list. An app's bytes are its bundle's.
class UninstallAppModel : public ChoiceRowsModel<UninstallAppRow> {
    Q_OBJECT

public:
    enum Role {
        NameRole = FirstRowRole,
        BundleIDRole,
        SourceRole,
        PathRole,
        IconPathRole,
        SizeTextRole,
        AppSizeTextRole,
        LeftoverSizeTextRole,
        LastOpenedRole,
        LeftoversRole
    };
    Q_ENUM(Role)

    using ChoiceRowsModel::ChoiceRowsModel;

    void setEntries(std::vector<UninstallPreviewReport::Entry> entries);
    UninstallLeftoverModel* leftoversAt(int row) const { return m_rows[std::size_t(row)].leftovers; }
    // The chosen leftovers of every app, each once.
    QStringList chosenLeftovers() const;

    qint64 bytesOf(int row) const override;
    bool chosenByDefault(int) const override { return false; }

protected:
    QString keyOfRow(const UninstallAppRow& row) const override;
    QVariant rowData(int row, int role) const override;
    QHash<int, QByteArray> rowRoleNames() const override;
    void eraseKeys(const QSet<QString>& keys) override;
};
