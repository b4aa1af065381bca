#pragma once

#include "app/FeatureContext.h"
#include "features/InstallerEntryModel.h"
#include "features/ScanLocationModel.h"

#include "installer/InstallerPreviewReport.h"
#include "installer/LocalInstallerPreview.h"

#include <QFuture>
#include <QObject>
#include <QStringList>

#include <optional>

// Installer Cleanup: the places searched, the installers found there, and moving the chosen ones to
// the Trash.
class InstallerController : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hasReport READ hasReport NOTIFY reportChanged)
    // The places the scan searches, shown until the first report.
    Q_PROPERTY(ScanLocationModel* scanLocations READ scanLocations CONSTANT)
    // Every installer of the report with the choice and its totals, and the rows the page lists: those
    // of the chosen place, largest first or by name.
    Q_PROPERTY(InstallerEntryModel* entries READ entries CONSTANT)
    Q_PROPERTY(InstallerShownEntries* shownEntries READ shownEntries CONSTANT)
    // The report's places by their names, in order, and the one shown ("" for all).
    Q_PROPERTY(QStringList sources READ sources NOTIFY sourcesChanged)
    Q_PROPERTY(QString sourceFilter READ sourceFilter WRITE setSourceFilter NOTIFY sourcesChanged)
    Q_PROPERTY(bool sortBySize READ sortBySize WRITE setSortBySize NOTIFY sortBySizeChanged)
    // Whether the scan looks for a Linux desktop's installers in its folders, and the file types it
    // looks for, each with its dot.
    Q_PROPERTY(bool linuxDesktop READ linuxDesktop CONSTANT)
    Q_PROPERTY(QStringList fileTypes READ fileTypes CONSTANT)

public:
    InstallerController(const FeatureContext& context, QObject* parent = nullptr);

    const std::optional<InstallerPreviewReport>& report() const { return m_report; }
    bool hasReport() const { return m_report.has_value(); }
    ScanLocationModel* scanLocations() { return &m_scanLocations; }
    // Looks at the places (the page opens; not before, so start-up stats nothing): one made or
    // removed since the last look shows so.
    Q_INVOKABLE void lookAtScanLocations();
    bool linuxDesktop() const;
    QStringList fileTypes() const;

    InstallerEntryModel* entries() { return &m_entries; }
    InstallerShownEntries* shownEntries() { return &m_shownEntries; }
    QStringList sources() const;
    QString sourceFilter() const;
    void setSourceFilter(const QString& source);
    bool sortBySize() const { return m_sortBySize; }
    void setSortBySize(bool bySize);

    QFuture<void> scan();
    // The chosen files to the Trash, after the page's confirmation, on a worker; a path the scan did
    // not list is refused and counted.
    Q_INVOKABLE void moveToTrash(const QStringList& paths);
    Q_INVOKABLE void moveChosenToTrash() { moveToTrash(m_entries.chosenKeys()); }

signals:
    void reportChanged();
    void sourcesChanged();
    void sortBySizeChanged();

private:
    LocalInstallerPreview::Places places() const;
    void setReport(std::optional<InstallerPreviewReport> report);
    // Shows every place again when the one shown no longer lists anything.
    void keepFilterListed();

    const FeatureContext& m_context;
    std::optional<InstallerPreviewReport> m_report;
    InstallerEntryModel m_entries;
    ScanLocationModel m_scanLocations;
    InstallerShownEntries m_shownEntries{m_entries};
    QString m_filterLocation; // the place shown; empty for all
    bool m_sortBySize = true;
};
