#pragma once

#include "update/KelvoUpdateInfo.h"
#include "vocabulary/KelvoError.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

// What the installer is doing, as the update sheet shows it.
struct UpdateInstallerState {
    enum class Kind { idle, downloading, readyToInstall, installing, failed };
    Kind kind = Kind::idle;
    double progress = 0.0; // downloading: 0 to 1; stays 0 when the server announces no length
    QString message;       // failed: what went wrong, in the display language
    KelvoError::Kind failure = KelvoError::Kind::other; // failed: what kind of failure it was

    bool operator==(const UpdateInstallerState&) const = default;
};

// Downloads a release's package into a fresh private folder, checks it, and replaces the running
// installation with it, then relaunches. Before anything is installed: the address must be HTTPS
// (plain HTTP only for a loopback host), and when the feed gives a checksum the file must match it.
// macOS: the disk image is mounted, the application found in it, and a relaunch script (every path
// quoted so that no character can break out) waits for Kelvo to quit, replaces the bundle and opens
// it. Linux: the .tar.gz is unpacked into a private folder and must hold bin/kelvo; the running
// installation's files are replaced (only when the user can write them: otherwise the failure, of
// kind permission, says where the new package is and keeps it), the new binary is started and Kelvo quits. A
// failed replacement leaves the old installation working.
class UpdateInstaller : public QObject {
    Q_OBJECT
public:
    struct Options {
        // Where the running installation is: the folder holding bin/kelvo (Linux) or the .app bundle
        // (macOS). Default: found from the running executable. Tests point it at a temporary folder.
        QString installation;
        // Starts the new version once it is in place, given the new installation's kelvo (Linux) or the
        // relaunch script that replaces and opens the bundle (macOS); default: starting it detached (the
        // script with /bin/bash). False when it could not be started. Tests give a stand-in that writes
        // a marker file.
        std::function<bool(const QString& newExecutable)> relaunch;
        // Asked to quit once the replacement is under way; default: QCoreApplication::quit.
        std::function<void()> quit;
        QString temporaryFolder; // default: QDir::tempPath()
    };

    explicit UpdateInstaller(QNetworkAccessManager& network, Options options = {}, QObject* parent = nullptr);
    ~UpdateInstaller() override;

    UpdateInstallerState state() const { return m_state; }
    // The package kept after a download, for "show it" when the installation cannot be written.
    std::optional<QString> downloadedPackage() const { return m_downloaded; }

    // Starts a download (an earlier one is cancelled); reports downloading(0) at once.
    void download(const UpdateDownload& package);
    // Cancels a running download and forgets a stored package; reports nothing.
    void cancel();
    // Installs the stored package and relaunches; failed("No downloaded update found.") without one.
    void performInstallAndRelaunch();

    // The relaunch script for the macOS bundle replacement (exposed so tests can check its quoting).
    static QString relaunchScript(qint64 pid, const QString& target, const QString& source,
                                  const QString& mount);

signals:
    void stateChanged(const UpdateInstallerState& state);

private:
    struct InstallOutcome;

    void report(UpdateInstallerState state);
    void writeArrived();
    void transferFinished(const QString& refusedRedirect);
    void keepPackage();
    void failDownload(KelvoError::Kind kind, const QString& message);
    void stopTransfer();
    void forgetPackage();
    void finishInstall(const InstallOutcome& outcome);

    QNetworkAccessManager& m_network;
    Options m_options;
    UpdateInstallerState m_state;
    std::optional<QString> m_downloaded;
    QNetworkReply* m_reply = nullptr;
    struct Download;
    std::unique_ptr<Download> m_download; // from the start of a download until its package is forgotten
    quint64 m_downloadsStarted = 0;
};
