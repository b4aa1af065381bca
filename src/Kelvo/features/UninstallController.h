#pragma once

#include "app/FeatureContext.h"
#include "features/UninstallAppModel.h"

#include "uninstall/UninstallExecutor.h"
#include "uninstall/UninstallPreviewService.h"

#include <QFuture>
#include <QObject>
#include <QStringList>

#include <optional>

// App Uninstall: the installed applications with their leftovers, and moving the chosen ones to the
// Trash.
class UninstallController : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hasReport READ hasReport NOTIFY reportChanged)
    // The applications with the choice, each with its leftovers and their choice.
    Q_PROPERTY(UninstallAppModel* apps READ apps CONSTANT)
    // What the scan could not look at, such as a Flatpak tool that did not answer.
    Q_PROPERTY(QStringList notes READ notes NOTIFY reportChanged)
    // True when the page lists the applications of a Linux home (AppImages, desktop entries, Flatpak)
    // rather than macOS bundles.
    Q_PROPERTY(bool linuxApplications READ linuxApplications CONSTANT)

public:
    UninstallController(const FeatureContext& context, QObject* parent = nullptr);

    const std::optional<UninstallPreviewReport>& report() const { return m_report; }
    bool hasReport() const { return m_report.has_value(); }
    UninstallAppModel* apps() { return &m_apps; }
    QStringList notes() const { return m_report ? m_report->notes : QStringList(); }
    bool linuxApplications() const;

    QFuture<void> scan();
    // What the confirmation says of the choice: the apps, the leftovers, the size and where they go.
    Q_INVOKABLE QString chosenConfirmation() const;
    // The chosen apps go with those of their leftovers that are in leftoverPaths (the page starts from
    // the strong matches); a leftover of an app not chosen stays, and one shared by two apps goes once.
    void uninstall(const QStringList& ids, const QStringList& leftoverPaths);
    Q_INVOKABLE void uninstallChosen() { uninstall(m_apps.chosenKeys(), m_apps.chosenLeftovers()); }

signals:
    void reportChanged();

private:
    TargetSystem system() const;
    QString flatpakTool() const;
    void setReport(std::optional<UninstallPreviewReport> report);
    UninstallExecutor::Plan plan(const QStringList& ids, const QStringList& leftoverPaths) const;

    const FeatureContext& m_context;
    std::optional<UninstallPreviewReport> m_report;
    UninstallAppModel m_apps;
    std::optional<RemovalPolicy::SharedFolders> m_shared;
};
