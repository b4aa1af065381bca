#pragma once

#include "app/FeatureContext.h"

#include "analysis/AnalysisReport.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <optional>

// Storage Analysis: the folder analysed, its report, drilling down and up, and moving an item to the
// Trash.
class AnalysisController : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)
    // {path, totalSize, totalFiles, hiddenItems, hiddenFileBytes, protectedFolders,
    //  entries: [{name, path, size, isDirectory, kind, share}],
    //  largeFiles: [{name, path, size}]}; share is the entry's part of totalSize, 0 to 1. Null until the
    // first analysis.
    Q_PROPERTY(QVariant report READ reportValue NOTIFY reportChanged)
    // Hidden items and the home folder's personal folders counted too; a change analyses again.
    Q_PROPERTY(
        bool countEverything READ countEverything WRITE setCountEverything NOTIFY countEverythingChanged)

public:
    AnalysisController(const FeatureContext& context, QObject* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);
    const std::optional<AnalysisReport>& report() const { return m_report; }
    QVariant reportValue() const;
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
    // One listed file or folder to the Trash, after the page's confirmation, on a worker.
    Q_INVOKABLE void moveToTrash(const QString& path);

signals:
    void pathChanged();
    void reportChanged();
    void countEverythingChanged();
    // Asks the controller that owns the actions to run this one (an analysis of a new path).
    void analysisRequested(const QString& path);

private:
    void setReport(std::optional<AnalysisReport> report);
    void forget(const QString& path);

    const FeatureContext& m_context;
    QString m_path;
    std::optional<AnalysisReport> m_report;
    bool m_countEverything = false;
};
