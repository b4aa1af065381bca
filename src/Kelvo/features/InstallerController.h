#pragma once

#include "app/FeatureContext.h"
#include "app/RowListModel.h"

#include "installer/InstallerPreviewReport.h"
#include "installer/LocalInstallerPreview.h"

#include <QFuture>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <optional>

// Installer Cleanup: the places searched, the installers found there, and moving the chosen ones to
// the Trash.
class InstallerController : public QObject {
    Q_OBJECT
    // {entryCount, totalBytes, totalSizeText, sources,
    //  entries: [{path, name, source, kind, byteCount, sizeText}]}; kind is empty for the macOS types
    Q_PROPERTY(QVariant report READ reportValue NOTIFY reportChanged)
    // The places the scan searches, shown until the first report: [{path, source, exists}]
    Q_PROPERTY(QVariantList scanLocations READ scanLocations NOTIFY scanLocationsChanged)
    // The rows the page lists: the report's entries from the chosen source ("" for all), largest first
    // or by name in natural order ("App9" before "App10").
    Q_PROPERTY(RowListModel* shownEntries READ shownEntries CONSTANT)
    Q_PROPERTY(QString sourceFilter READ sourceFilter WRITE setSourceFilter NOTIFY shownEntriesChanged)
    Q_PROPERTY(bool sortBySize READ sortBySize WRITE setSortBySize NOTIFY shownEntriesChanged)
    // Whether the scan looks for a Linux desktop's installers in its folders, and the file types it
    // looks for, each with its dot.
    Q_PROPERTY(bool linuxDesktop READ linuxDesktop CONSTANT)
    Q_PROPERTY(QStringList fileTypes READ fileTypes CONSTANT)

public:
    InstallerController(const FeatureContext& context, QObject* parent = nullptr);

    const std::optional<InstallerPreviewReport>& report() const { return m_report; }
    QVariant reportValue() const;
    QVariantList scanLocations() const;
    bool linuxDesktop() const;
    QStringList fileTypes() const;

    RowListModel* shownEntries() { return &m_shownEntries; }
    QString sourceFilter() const { return m_sourceFilter; }
    void setSourceFilter(const QString& source);
    bool sortBySize() const { return m_sortBySize; }
    void setSortBySize(bool bySize);

    QFuture<void> scan();
    // The chosen files to the Trash, after the page's confirmation, on a worker; a path the scan did
    // not list is refused and counted.
    Q_INVOKABLE void moveToTrash(const QStringList& paths);

signals:
    void reportChanged();
    void scanLocationsChanged(); // the sources are named in the language of the moment
    void shownEntriesChanged();

private:
    LocalInstallerPreview::Places places() const;
    void setReport(std::optional<InstallerPreviewReport> report);
    void updateShownEntries();

    const FeatureContext& m_context;
    std::optional<InstallerPreviewReport> m_report;
    RowListModel m_shownEntries{{"path", "name", "source", "kind", "byteCount", "sizeText"}};
    QString m_sourceFilter;
    bool m_sortBySize = true;
};
