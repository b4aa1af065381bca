#include "update/UpdateInstaller.h"

#include "platform/FileErrorText.h"
#include "platform/FileRemover.h"
#include "update/MacBundleInstall.h"
#include "update/UpdateInstall.h"
#include "update/UpdateInstallerText.h"
#include "update/UpdatePackageFile.h"
#include "update/UpdateRequest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkReply>
#include <QtConcurrent>

#include <chrono>
#include <utility>

using namespace std::chrono_literals;

struct UpdateInstaller::Download {
    quint64 number = 0; // tells a late checksum result of an earlier download from this one's
    QString folder;     // private; removed with everything in it when the package is forgotten
    QFile file;
    std::optional<QString> sha256;
    bool keptForUser = false; // a failure message told the user where the package is
};

struct UpdateInstaller::InstallOutcome {
    std::optional<KelvoError> failure; // of kind permission: the user is told to install the package
    QString start;                     // the new kelvo (Linux) or the relaunch script (macOS)
};

namespace {

// A download is given up after this long without a byte.
constexpr auto silenceLimit = 60s;
// Bytes held between the network and the file at most.
constexpr qint64 readBuffer = 4 * 1024 * 1024;

} // namespace

UpdateInstaller::UpdateInstaller(QNetworkAccessManager& network, Options options, QObject* parent)
    : QObject(parent)
    , m_network(network)
    , m_options(std::move(options))
{
    if (m_options.installation.isEmpty())
        m_options.installation = UpdateInstall::runningInstallation();
    if (!m_options.relaunch)
        m_options.relaunch = UpdateInstall::start;
    if (!m_options.quit)
        m_options.quit = UpdateInstall::quit;
    if (m_options.temporaryFolder.isEmpty())
        m_options.temporaryFolder = QDir::tempPath();
}

UpdateInstaller::~UpdateInstaller()
{
    stopTransfer();
    // A running installation still reads the package.
    if (m_state.kind != UpdateInstallerState::Kind::installing)
        forgetPackage();
}

void UpdateInstaller::report(UpdateInstallerState state)
{
    m_state = std::move(state);
    emit stateChanged(m_state);
}

void UpdateInstaller::download(const UpdateDownload& package)
{
    if (m_state.kind == UpdateInstallerState::Kind::installing)
        return;
    stopTransfer();
    forgetPackage();
    report({UpdateInstallerState::Kind::downloading, 0.0, {}});
    if (!UpdateRequest::isAllowedAddress(package.url)) {
        report({UpdateInstallerState::Kind::failed, 0.0, UpdateRequest::refusedAddressText(package.url),
                KelvoError::Kind::network});
        return;
    }

    const std::optional<QString> folder = UpdatePackageFile::makePrivateFolder(m_options.temporaryFolder);
    if (!folder) {
        report(
            {UpdateInstallerState::Kind::failed, 0.0,
             FileErrorText::cannotCreateFolder(m_options.temporaryFolder + QStringLiteral("/KelvoUpdate-…")),
             KelvoError::Kind::unwritable});
        return;
    }
    m_download = std::make_unique<Download>();
    m_download->number = ++m_downloadsStarted;
    m_download->folder = *folder;
    m_download->sha256 = package.sha256;
    m_download->file.setFileName(*folder + u'/' + UpdatePackageFile::fileName(package.url));
    if (!m_download->file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        failDownload(KelvoError::Kind::unwritable,
                     FileErrorText::cannotWrite(m_download->file.fileName(), m_download->file.error()));
        return;
    }

    auto refusedRedirect = std::make_shared<QString>();
    m_reply = UpdateRequest::get(m_network, package.url, silenceLimit,
                                 [refusedRedirect](const QString& refusal) { *refusedRedirect = refusal; });
    // Written as it arrives: the package is never held in memory as a whole.
    m_reply->setReadBufferSize(readBuffer);
    connect(m_reply, &QNetworkReply::readyRead, this, &UpdateInstaller::writeArrived);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        // Without an announced length there is nothing to measure against (at the end Qt takes what
        // arrived as the total, which would claim a measure it never had).
        if (total > 0 && m_reply->header(QNetworkRequest::ContentLengthHeader).isValid())
            report({UpdateInstallerState::Kind::downloading, double(received) / double(total), {}});
    });
    connect(m_reply, &QNetworkReply::finished, this,
            [this, refusedRedirect] { transferFinished(*refusedRedirect); });
}

void UpdateInstaller::writeArrived()
{
    if (!m_reply->isOpen())
        return; // aborted after a refused redirect
    const QByteArray bytes = m_reply->readAll();
    if (m_download->file.write(bytes) != bytes.size())
        failDownload(KelvoError::Kind::unwritable,
                     FileErrorText::cannotWrite(m_download->file.fileName(), m_download->file.error()));
}

void UpdateInstaller::transferFinished(const QString& refusedRedirect)
{
    writeArrived();
    if (!m_reply)
        return; // the write failed and has been reported
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    reply->deleteLater();
    if (!refusedRedirect.isEmpty())
        return failDownload(KelvoError::Kind::network, refusedRedirect);
    if (reply->error() != QNetworkReply::NoError)
        return failDownload(KelvoError::Kind::network, reply->errorString());
    if (!m_download->file.flush())
        return failDownload(
            KelvoError::Kind::unwritable,
            FileErrorText::cannotWrite(m_download->file.fileName(), m_download->file.error()));
    m_download->file.close();
    if (!m_download->sha256)
        return keepPackage();

    // Hashing a large package takes a moment: it is done on a worker, and its result is used only if
    // this download is still the current one.
    const quint64 number = m_download->number;
    const QString expected = *m_download->sha256;
    QtConcurrent::run(UpdatePackageFile::sha256, m_download->file.fileName())
        .then(this, [this, number, expected](const std::optional<QString>& actual) {
            if (!m_download || m_download->number != number)
                return;
            if (actual != expected)
                return failDownload(KelvoError::Kind::checksum, UpdateInstallerText::checksumMismatch());
            keepPackage();
        });
}

void UpdateInstaller::keepPackage()
{
    m_downloaded = m_download->file.fileName();
    report({UpdateInstallerState::Kind::readyToInstall, 0.0, {}});
}

void UpdateInstaller::failDownload(KelvoError::Kind kind, const QString& message)
{
    stopTransfer();
    forgetPackage();
    report({UpdateInstallerState::Kind::failed, 0.0, message, kind});
}

void UpdateInstaller::stopTransfer()
{
    if (!m_reply)
        return;
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

void UpdateInstaller::forgetPackage()
{
    if (m_download && !m_download->keptForUser) {
        m_download->file.close();
        // Through the remover, reached from the temporary folder: a link swapped in is not followed.
        FileRemover::removeBelow(QFileInfo(m_download->folder).absolutePath(), m_download->folder);
    }
    m_download.reset();
    m_downloaded.reset();
}

void UpdateInstaller::cancel()
{
    if (m_state.kind == UpdateInstallerState::Kind::installing)
        return;
    stopTransfer();
    forgetPackage();
}

void UpdateInstaller::performInstallAndRelaunch()
{
    if (m_state.kind == UpdateInstallerState::Kind::installing)
        return;
    if (!m_downloaded) {
        report({UpdateInstallerState::Kind::failed, 0.0, UpdateInstallerText::noDownloadedUpdate()});
        return;
    }
    report({UpdateInstallerState::Kind::installing, 0.0, {}});
    QtConcurrent::run([package = *m_downloaded, installation = m_options.installation,
                       pid = QCoreApplication::applicationPid()] {
        InstallOutcome outcome;
        try {
            outcome.start = UpdateInstall::install(package, installation, pid);
        } catch (const KelvoError& error) {
            outcome.failure = error;
        }
        return outcome;
    }).then(this, [this](const InstallOutcome& outcome) { finishInstall(outcome); });
}

void UpdateInstaller::finishInstall(const InstallOutcome& outcome)
{
    if (outcome.failure) {
        if (outcome.failure->kind() == KelvoError::Kind::permission && m_download)
            m_download->keptForUser = true;
        report({UpdateInstallerState::Kind::failed, 0.0, outcome.failure->description(),
                outcome.failure->kind()});
        return;
    }
    // Once nothing reads them any more, the unpacked tree and the package can go.
    if (!UpdateInstall::packageReadAfterInstall())
        forgetPackage();
    if (!m_options.relaunch(outcome.start)) {
        report({UpdateInstallerState::Kind::failed, 0.0, UpdateInstall::startFailed(outcome.start),
                KelvoError::Kind::installFailed});
        return;
    }
    m_options.quit();
}

QString UpdateInstaller::relaunchScript(qint64 pid, const QString& target, const QString& source,
                                        const QString& mount)
{
    return MacBundleInstall::relaunchScript(pid, target, source, mount);
}
