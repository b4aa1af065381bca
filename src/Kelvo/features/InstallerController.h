#pragma once

#include "app/FeatureContext.h"

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
    // {entryCount, totalBytes, totalSizeText, sources, entries: [{path, name, source, byteCount, sizeText}]}
    Q_PROPERTY(QVariant report READ reportValue NOTIFY reportChanged)
    // The places the scan searches, shown until the first report: [{path, source, exists}]
    Q_PROPERTY(QVariantList scanLocations READ scanLocations NOTIFY scanLocationsChanged)

public:
    InstallerController(const FeatureContext& context, QObject* parent = nullptr);

    const std::optional<InstallerPreviewReport>& report() const { return m_report; }
    QVariant reportValue() const;
    QVariantList scanLocations() const;

    QFuture<void> scan();
    // The chosen files to the Trash, after the page's confirmation, on a worker; a path the scan did
    // not list is refused and counted.
    Q_INVOKABLE void moveToTrash(const QStringList& paths);

signals:
    void reportChanged();
    void scanLocationsChanged(); // the sources are named in the language of the moment

private:
    LocalInstallerPreview::Places places() const;
    void setReport(std::optional<InstallerPreviewReport> report);

    const FeatureContext& m_context;
    std::optional<InstallerPreviewReport> m_report;
};
