#pragma once

#include "app/FeatureContext.h"

#include "update/KelvoUpdateInfo.h"
#include "update/UpdateCheck.h"
#include "update/UpdateInstaller.h"

#include <QFuture>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

// Self-update: the check of the update feed and what the settings page shows of it, and the download
// and installation of a newer release, whose states the update sheet follows. The feed is the one
// this build or the environment (KELVO_UPDATE_FEED_URL) names; the running release is the build's
// version text ("0" for a local build) and its build number when it has one.
class UpdateController : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool feedConfigured READ feedConfigured CONSTANT)
    Q_PROPERTY(bool isCheckingForUpdates READ isCheckingForUpdates NOTIFY checkChanged)
    // One line on the state of updates, for the settings page.
    Q_PROPERTY(QString updateStatusDetail READ updateStatusDetail NOTIFY checkChanged)
    // "v" and the newest version the feed named; empty before a check found one.
    Q_PROPERTY(QString latestUpdateVersionText READ latestUpdateVersionText NOTIFY checkChanged)
    Q_PROPERTY(QString releaseNotes READ releaseNotes NOTIFY checkChanged)
    // True when the feed names a newer release with a package for this system.
    Q_PROPERTY(bool canInstallUpdate READ canInstallUpdate NOTIFY checkChanged)
    // The installer's state, with the download's fraction (0 while the length is unknown) and the
    // failure's message.
    Q_PROPERTY(InstallerPhase installerState READ installerPhase NOTIFY installerStateChanged)
    Q_PROPERTY(double downloadProgress READ downloadProgress NOTIFY installerStateChanged)
    Q_PROPERTY(QString installerMessage READ installerMessage NOTIFY installerStateChanged)
    // The downloaded package while it is kept on disk (empty otherwise) and its size (0 when unknown).
    Q_PROPERTY(QString downloadedPackage READ downloadedPackage NOTIFY installerStateChanged)
    Q_PROPERTY(qint64 packageSize READ packageSize NOTIFY installerStateChanged)
    // A failure that names the kept package (an installation the user cannot write): it can be shown.
    Q_PROPERTY(bool canRevealPackage READ canRevealPackage NOTIFY installerStateChanged)
    Q_PROPERTY(bool showingUpdateSheet READ showingUpdateSheet WRITE setShowingUpdateSheet NOTIFY
                   showingUpdateSheetChanged)

public:
    // UpdateInstallerState::Kind as the update sheet names it.
    enum class InstallerPhase { Idle, Downloading, ReadyToInstall, Installing, Failed };
    Q_ENUM(InstallerPhase)

    UpdateController(const FeatureContext& context, QObject* parent = nullptr);

    bool feedConfigured() const { return m_feed.has_value(); }
    bool isCheckingForUpdates() const { return m_checking; }
    QString updateStatusDetail() const { return m_statusDetail.text(); }
    const LocalText& statusDetailText() const { return m_statusDetail; }
    QString latestUpdateVersionText() const { return m_latestVersionText; }
    QString releaseNotes() const { return m_releaseNotes; }
    bool canInstallUpdate() const { return m_download.has_value(); }
    const std::optional<UpdateDownload>& updateDownload() const { return m_download; }
    UpdateInstallerState installerStateValue() const { return m_state; }
    InstallerPhase installerPhase() const { return InstallerPhase(int(m_state.kind)); }
    double downloadProgress() const { return m_state.progress; }
    QString installerMessage() const { return m_state.message; }
    QString downloadedPackage() const;
    qint64 packageSize() const;
    bool canRevealPackage() const;
    bool showingUpdateSheet() const { return m_showingUpdateSheet; }
    void setShowingUpdateSheet(bool showing);

    // Asks the feed for the newest release. A silent check (the start-up one) shows its outcome only on
    // the settings page; otherwise the status line or an alert says it too. Without a configured feed
    // nothing is asked and the settings page says so. The future finishes when the outcome is shown.
    QFuture<void> checkForUpdates(bool silent);
    // The settings page's "Check for Updates".
    Q_INVOKABLE void checkNow() { checkForUpdates(false); }
    // Downloads the installable release and shows the update sheet; while a download or installation
    // runs it does nothing, and a downloaded package only brings the sheet back.
    Q_INVOKABLE void installUpdate();
    // Stops the download, forgets it and closes the sheet.
    Q_INVOKABLE void cancelDownload();
    // Replaces this installation with the downloaded package and relaunches.
    Q_INVOKABLE void restartAndInstall();
    // Shows the kept package in the file manager, for installing it by hand.
    Q_INVOKABLE void revealDownloadedPackage() const;

signals:
    void checkChanged();
    void installerStateChanged();
    void showingUpdateSheetChanged();

private:
    void show(const UpdateCheckOutcome& outcome);
    void setInstallerState(const UpdateInstallerState& state);

    const FeatureContext& m_context;
    const std::optional<QUrl> m_feed;
    const QString m_currentVersion;
    QNetworkAccessManager m_network;
    UpdateInstaller m_installer;
    bool m_checking = false;
    bool m_checkSilent = true; // every check joined to the running one was silent
    QFuture<void> m_check;
    LocalText m_statusDetail;
    QString m_latestVersionText;
    QString m_releaseNotes;
    std::optional<UpdateDownload> m_download;
    UpdateInstallerState m_state;
    bool m_showingUpdateSheet = false;
};
