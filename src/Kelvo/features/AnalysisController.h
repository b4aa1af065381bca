#pragma once

#include "app/FeatureContext.h"
#include "features/AnalysisEntryModel.h"
#include "features/TreemapTileModel.h"

#include "analysis/AnalysisReport.h"
#include "analysis/StorageWalk.h"
#include "platform/ConfinedPath.h"

#include <QByteArray>
#include <QFuture>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantList>

#include <memory>
#include <optional>

// Storage Analysis: the folder analysed, walked once into a tree kept in memory; the folder shown in
// it, reached by drilling down and up without another walk; its report and nested treemap; revealing
// or moving an item to the Trash, after which every folder above it shrinks at once; and scans
// imported from ncdu's export format, which are only looked at. A listed item is named by its row's key (its
// bytes on disk, percent-encoded), so a name that is not UTF-8 names exactly its own item; every action on it
// checks its identity too.
class AnalysisController : public QObject {
    Q_OBJECT
    // The folder to analyse as shown; a name in it that is not UTF-8 shows its bytes as "\xFF".
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)
    // The last analysis: the folder as shown, its totals, what it left out (a sentence in the language
    // of the moment) and its two lists. Nothing until the first analysis.
    Q_PROPERTY(bool hasReport READ hasReport NOTIFY reportChanged)
    Q_PROPERTY(QString reportPath READ reportPath NOTIFY reportChanged)
    Q_PROPERTY(qint64 totalSize READ totalSize NOTIFY reportChanged)
    Q_PROPERTY(qint64 totalFiles READ totalFiles NOTIFY reportChanged)
    Q_PROPERTY(QString leftOutNote READ leftOutNote NOTIFY leftOutNoteChanged)
    Q_PROPERTY(AnalysisEntryModel* entries READ entries CONSTANT)
    Q_PROPERTY(AnalysisEntryModel* largeFiles READ largeFiles CONSTANT)
    Q_PROPERTY(TreemapTileModel* treemap READ treemap CONSTANT)
    // The names from the walked folder down to the one shown; openCrumb(i) shows the i-th.
    Q_PROPERTY(QStringList crumbs READ crumbs NOTIFY reportChanged)
    // False for an imported scan: its items are on the machine that made it.
    Q_PROPERTY(bool canAct READ canAct NOTIFY reportChanged)
    // How the folder's items are listed: "size", "name", "items" or "modified".
    Q_PROPERTY(QString sortKey READ sortKey WRITE setSortKey NOTIFY reportChanged)
    // The large files list leaves out the files smaller than this.
    Q_PROPERTY(qint64 largeFileFloor READ largeFileFloor WRITE setLargeFileFloor NOTIFY reportChanged)
    // The files below the folder not modified for this many months, largest first.
    Q_PROPERTY(int oldMonths READ oldMonths WRITE setOldMonths NOTIFY reportChanged)
    Q_PROPERTY(AnalysisEntryModel* oldFiles READ oldFiles CONSTANT)
    Q_PROPERTY(qint64 oldFilesBytes READ oldFilesBytes NOTIFY reportChanged)
    Q_PROPERTY(qint64 oldFilesCount READ oldFilesCount NOTIFY reportChanged)
    // What each type of file takes below the folder: {name, bytes, files, share}, largest first.
    Q_PROPERTY(QVariantList typeTotals READ typeTotals NOTIFY reportChanged)
    // Where an imported scan came from, in the language of the moment; empty for a walk.
    Q_PROPERTY(QString originNote READ originNote NOTIFY reportChanged)
    // Hidden items and the home folder's personal folders counted too; a change analyses again.
    Q_PROPERTY(
        bool countEverything READ countEverything WRITE setCountEverything NOTIFY countEverythingChanged)

public:
    AnalysisController(const FeatureContext& context, QObject* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);
    const std::optional<AnalysisReport>& report() const { return m_report; }
    bool hasReport() const { return m_report.has_value(); }
    QString reportPath() const;
    qint64 totalSize() const { return m_report ? m_report->totalSize.value_or(0) : 0; }
    qint64 totalFiles() const { return m_report ? m_report->totalFiles.value_or(0) : 0; }
    QString leftOutNote() const;
    AnalysisEntryModel* entries() { return &m_entries; }
    AnalysisEntryModel* largeFiles() { return &m_largeFiles; }
    TreemapTileModel* treemap() { return &m_treemap; }
    QStringList crumbs() const;
    bool canAct() const { return !m_walked || !m_walked->tree.origin.imported; }
    QString originNote() const;
    QString sortKey() const { return m_sortKey; }
    void setSortKey(const QString& key);
    qint64 largeFileFloor() const { return m_largeFileFloor; }
    void setLargeFileFloor(qint64 bytes);
    int oldMonths() const { return m_oldMonths; }
    void setOldMonths(int months);
    AnalysisEntryModel* oldFiles() { return &m_oldFiles; }
    qint64 oldFilesBytes() const { return m_oldFilesBytes; }
    qint64 oldFilesCount() const { return m_oldFilesCount; }
    QVariantList typeTotals() const { return m_typeTotals; }
    bool countEverything() const { return m_countEverything; }
    void setCountEverything(bool countEverything);

    // Analyses the current path; a new analysis supersedes one still going.
    QFuture<void> refresh();

    // Analyses another folder (through the action, as every run goes).
    Q_INVOKABLE void analyze(const QString& path);
    Q_INVOKABLE void analyzeParent();
    // The window's folder chooser hands over the chosen folder, which is analysed at once; an empty URL
    // is a cancel.
    Q_INVOKABLE void choosePath(const QUrl& folder);
    // A listed folder analysed in turn, once reached without a link and found unchanged; otherwise the
    // alert says why and nothing is analysed.
    Q_INVOKABLE void analyzeItem(const QString& key);
    // A listed item shown in the file manager, under the same conditions.
    Q_INVOKABLE void revealItem(const QString& key);
    // One listed file or folder to the Trash, after the page's confirmation, on a worker. A key no row
    // has (a plain path reads as itself) is refused for want of an identity.
    Q_INVOKABLE void moveToTrash(const QString& key);
    Q_INVOKABLE void openCrumb(int depth);
    // The treemap's area changed: its tiles are laid out again.
    Q_INVOKABLE void layoutTreemap(qreal width, qreal height);
    // Reads a scan exported by ncdu, gdu or Kelvo (an empty URL is a cancel), on a worker.
    Q_INVOKABLE void importScan(const QUrl& file);

signals:
    void pathChanged();
    void reportChanged();
    void leftOutNoteChanged();
    void countEverythingChanged();
    // Asks the controller that owns the actions to run this one (an analysis of a new path).
    void analysisRequested(const QString& path);

private:
    void setReport(std::optional<AnalysisReport> report);
    void analyzeFolder(const QByteArray& folder);
    // The listed entry of these bytes, if any.
    const AnalysisReport::Entry* listed(const QByteArray& bytes) const;
    // The listed item reached and unchanged; none, with the alert set, otherwise.
    std::optional<ConfinedPath::Reached> reachListed(const QString& key);
    void forget(const QByteArray& path);
    void show(StorageTree::Index folder);
    void setWalked(std::shared_ptr<StorageWalk::Result> walked);
    // The tree's item of this key; none when the key is not in the tree.
    StorageTree::Index indexOfKey(const QString& key) const;

    const FeatureContext& m_context;
    QString m_path;
    QByteArray m_folder; // what path shows, as bytes on disk: what is analysed
    std::optional<AnalysisReport> m_report;
    AnalysisEntryModel m_entries;
    AnalysisEntryModel m_largeFiles;
    TreemapTileModel m_treemap;
    AnalysisEntryModel m_oldFiles;
    QString m_sortKey = QStringLiteral("size");
    qint64 m_largeFileFloor = 1000 * 1000;
    int m_oldMonths = 12;
    qint64 m_oldFilesBytes = 0, m_oldFilesCount = 0;
    QVariantList m_typeTotals; // made once per folder shown: QML reads it more than once
    std::shared_ptr<StorageWalk::Result> m_walked;
    StorageTree::Index m_shown = StorageTree::none;
    qreal m_treemapWidth = 0, m_treemapHeight = 0;
    bool m_countEverything = false;
};
