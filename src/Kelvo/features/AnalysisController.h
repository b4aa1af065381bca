#pragma once

#include "app/FeatureContext.h"
#include "features/AnalysisEntryModel.h"

#include "analysis/AnalysisReport.h"
#include "platform/ConfinedPath.h"

#include <QByteArray>
#include <QFuture>
#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

// Storage Analysis: the folder analysed, its report, drilling down and up, and revealing or moving an
// item to the Trash. A listed item is named by its row's key (its bytes on disk, percent-encoded), so
// a name that is not UTF-8 names exactly its own item; every action on it checks its identity too.
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

    const FeatureContext& m_context;
    QString m_path;
    QByteArray m_folder; // what path shows, as bytes on disk: what is analysed
    std::optional<AnalysisReport> m_report;
    AnalysisEntryModel m_entries;
    AnalysisEntryModel m_largeFiles;
    bool m_countEverything = false;
};
