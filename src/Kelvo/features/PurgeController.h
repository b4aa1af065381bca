#pragma once

#include "app/ChoiceSectionModel.h"
#include "app/FeatureContext.h"
#include "features/PurgeEntryModel.h"

#include "purge/PurgePreviewReport.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// Project Cleanup: the folder scanned for build artefacts, its report, and moving the chosen artefacts
// to the Trash. A moved artefact leaves the report, the list and its totals.
class PurgeController : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString scanPath READ scanPath WRITE setScanPath NOTIFY scanPathChanged)
    Q_PROPERTY(bool hasReport READ hasReport NOTIFY reportChanged)
    // The artefacts with the choice and its totals, and their groups by ecosystem, the largest first.
    Q_PROPERTY(PurgeEntryModel* entries READ entries CONSTANT)
    Q_PROPERTY(ChoiceSectionModel* groups READ groups CONSTANT)
    // How many kinds of build artefact folders the scan knows.
    Q_PROPERTY(int targetTypeCount READ targetTypeCount CONSTANT)

public:
    PurgeController(const FeatureContext& context, QObject* parent = nullptr);

    QString scanPath() const { return m_scanPath; }
    void setScanPath(const QString& path);
    const std::optional<PurgePreviewReport>& report() const { return m_report; }
    bool hasReport() const { return m_report.has_value(); }
    PurgeEntryModel* entries() { return &m_entries; }
    ChoiceSectionModel* groups() { return &m_groups; }
    int targetTypeCount() const;

    QFuture<void> scan();

    // The window's folder chooser hands over the chosen folder; an empty URL is a cancel.
    Q_INVOKABLE void choosePath(const QUrl& folder);
    // The chosen artefacts of the scan to the Trash, after the page's confirmation, on a worker; a path
    // the scan did not list is refused and counted.
    Q_INVOKABLE void moveToTrash(const QStringList& paths);
    Q_INVOKABLE void moveChosenToTrash() { moveToTrash(m_entries.chosenKeys()); }

signals:
    void scanPathChanged();
    void reportChanged();

private:
    void setReport(std::optional<PurgePreviewReport> report);

    const FeatureContext& m_context;
    QString m_scanPath;
    std::optional<PurgePreviewReport> m_report;
    PurgeEntryModel m_entries;
    ChoiceSectionModel m_groups{m_entries, ChoiceSectionModel::Order::largestFirst};
};
