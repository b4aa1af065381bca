#pragma once

#include "app/FeatureContext.h"

#include "uninstall/UninstallExecutor.h"
#include "uninstall/UninstallPreviewService.h"

#include <QFuture>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <optional>

// App Uninstall: the installed applications with their leftovers, and moving the chosen ones to the
// Trash.
class UninstallController : public QObject {
    Q_OBJECT
    // {entryCount, notes, entries: [{id, name, bundleID, source, path, iconPath, sizeText, appSizeText,
    //  leftoverSizeText, leftovers: [{path, sizeText, strong}], lastOpenedText}]}
    Q_PROPERTY(QVariant report READ reportValue NOTIFY reportChanged)
    // True when the page lists the applications of a Linux home (AppImages, desktop entries, Flatpak)
    // rather than macOS bundles.
    Q_PROPERTY(bool linuxApplications READ linuxApplications CONSTANT)

public:
    UninstallController(const FeatureContext& context, QObject* parent = nullptr);

    const std::optional<UninstallPreviewReport>& report() const { return m_report; }
    QVariant reportValue() const;
    bool linuxApplications() const;

    QFuture<void> scan();
    // What the confirmation says of this choice: the apps, the leftovers, the size and where they go.
    Q_INVOKABLE QString confirmationText(const QStringList& ids, const QStringList& leftoverPaths) const;
    // The chosen apps go with those of their leftovers that are in leftoverPaths (the page starts from
    // the strong matches); a leftover of an app not chosen stays, and one shared by two apps goes once.
    Q_INVOKABLE void uninstall(const QStringList& ids, const QStringList& leftoverPaths);

signals:
    void reportChanged();

private:
    TargetSystem system() const;
    QString flatpakTool() const;
    void setReport(std::optional<UninstallPreviewReport> report);
    UninstallExecutor::Plan plan(const QStringList& ids, const QStringList& leftoverPaths) const;

    const FeatureContext& m_context;
    std::optional<UninstallPreviewReport> m_report;
    std::optional<RemovalPolicy::SharedFolders> m_shared;
};
