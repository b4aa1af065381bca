#pragma once

#include "app/FeatureContext.h"

#include "purge/PurgePreviewReport.h"

#include <QFuture>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <optional>

// Project Cleanup: the folder scanned for build artefacts, its report, and moving the chosen artefacts
// to the Trash. A moved artefact stays in the report, marked as gone and no longer counted in the
// totals, so the page can show it without pretending the scan changed.
class PurgeController : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString scanPath READ scanPath WRITE setScanPath NOTIFY scanPathChanged)
    // PurgeReportPresenter's form, with trashedPaths (the artefacts already moved to the Trash) and
    // scanNumber (which scan this is: a move keeps it, a new scan changes it).
    Q_PROPERTY(QVariant report READ reportValue NOTIFY reportChanged)
    // How many kinds of build artefact folders the scan knows.
    Q_PROPERTY(int targetTypeCount READ targetTypeCount CONSTANT)

public:
    PurgeController(const FeatureContext& context, QObject* parent = nullptr);

    QString scanPath() const { return m_scanPath; }
    void setScanPath(const QString& path);
    const std::optional<PurgePreviewReport>& report() const { return m_report; }
    QVariant reportValue() const;
    int targetTypeCount() const;

    QFuture<void> scan();

    // The window's folder chooser hands over the chosen folder; an empty URL is a cancel.
    Q_INVOKABLE void choosePath(const QUrl& folder);
    // The chosen artefacts of the scan to the Trash, after the page's confirmation, on a worker; a path
    // the scan did not list is refused and counted.
    Q_INVOKABLE void moveToTrash(const QStringList& paths);

signals:
    void scanPathChanged();
    void reportChanged();

private:
    void setReport(std::optional<PurgePreviewReport> report);

    const FeatureContext& m_context;
    QString m_scanPath;
    std::optional<PurgePreviewReport> m_report;
    QSet<QString> m_trashedPaths; // artefacts of the shown scan already moved to the Trash
    int m_scanNumber = 0;
};
