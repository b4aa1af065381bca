#pragma once

#include "app/ChoiceListModel.h"

#include "installer/InstallerPreviewReport.h"

#include <QSortFilterProxyModel>

#include <vector>

// The installers a scan found, largest first. An installer is chosen by its path; a new scan keeps the
// choices it still lists and chooses nothing else. Installers moved to the Trash leave the list.
class InstallerEntryModel : public ChoiceRowsModel<InstallerPreviewReport::Entry> {
    Q_OBJECT

public:
    enum Role { NameRole = FirstRowRole, PathRole, SourceRole, KindRole, SizeTextRole };
    Q_ENUM(Role)

    using ChoiceRowsModel::ChoiceRowsModel;

    void setEntries(std::vector<InstallerPreviewReport::Entry> entries);
    const InstallerPreviewReport::Entry& entryAt(int row) const { return m_rows[std::size_t(row)]; }

    qint64 bytesOf(int row) const override;
    bool chosenByDefault(int) const override { return false; }

protected:
    QString keyOfRow(const InstallerPreviewReport::Entry& row) const override;
    QVariant rowData(int row, int role) const override;
    QHash<int, QByteArray> rowRoleNames() const override;
};

// The installers the page lists: those found in one place (or all), largest first as the scan orders
// them or by name in the natural order ("App9" before "App10"), the path breaking ties.
class InstallerShownEntries : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit InstallerShownEntries(InstallerEntryModel& entries, QObject* parent = nullptr);

    // The place whose installers are shown ("" for every place), and the order.
    void show(const QString& location, bool bySize);
    // The shown rows' keys, in order.
    QStringList keys() const;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    InstallerEntryModel& m_entries;
    QString m_location;
};
