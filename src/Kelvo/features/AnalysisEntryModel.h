#pragma once

#include "app/ResultListModel.h"

#include "analysis/AnalysisReport.h"

#include <QList>

#include <vector>

// One list of a storage analysis (the folder's children, or its largest files), largest first as the
// report has it: each item with its name, path and kind, and its size and part of the whole as texts
// made when read. Names and paths show bytes that are not UTF-8 as "\xFF"; the key names the item
// exactly (see AnalysisReportPresenter::keyOf).
class AnalysisEntryModel : public ResultListModel {
    Q_OBJECT
    // The rows' sizes in bytes, in order, for the treemap's layout.
    Q_PROPERTY(QList<qreal> sizes READ sizes NOTIFY rowsReplaced)

public:
    enum Role {
        KeyRole = Qt::UserRole,
        NameRole,
        PathRole,
        NameNotUtf8Role,
        IsDirectoryRole,
        KindRole,
        KindTextRole, // what a link or special file is; empty for files and folders
        SizeRole,
        SizeTextRole, // or that the folder cannot be read
        ShareRole,    // the item's part of the analysed folder, 0 to 1
        ShareTextRole,
    };
    // What a listed item is; links are never followed, so a link and a special file weigh nothing.
    enum Kind { File, Folder, UnreadableFolder, Link, DanglingLink, Special };
    Q_ENUM(Kind)

    using ResultListModel::ResultListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The items, with the analysed folder's total size their shares are parts of.
    void setEntries(const std::vector<AnalysisReport::Entry>& entries, qint64 total);
    QList<qreal> sizes() const;

signals:
    void rowsReplaced();

private:
    std::vector<AnalysisReport::Entry> m_entries;
    qint64 m_total = 0;
};
