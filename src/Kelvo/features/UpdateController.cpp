#include "features/UpdateController.h"

#include "app/AppModelSupport.h"

#include "platform/Desktop.h"
#include "update/UpdateConfiguration.h"

#include <QFileInfo>

using namespace AppModelSupport;

namespace {
using Kind = UpdateInstallerState::Kind;
using Phase = UpdateController::InstallerPhase;
static_assert(int(Kind::idle) == int(Phase::Idle) && int(Kind::downloading) == int(Phase::Downloading) &&
              int(Kind::readyToInstall) == int(Phase::ReadyToInstall) &&
              int(Kind::installing) == int(Phase::Installing) && int(Kind::failed) == int(Phase::Failed));
} // namespace

UpdateController::UpdateController(const FeatureContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_feed(UpdateConfiguration::feedURL(UpdateConfiguration::bundleFeedURL(),
                                          context.environment.processEnvironment))
    , m_currentVersion(UpdateCheck::comparedVersion(context.environment.version))
    , m_installer(m_network, context.environment.updateInstaller)
    , m_statusDetail(both("还没有检查更新。", "Updates have not been checked yet."))
{
    connect(&m_installer, &UpdateInstaller::stateChanged, this, &UpdateController::setInstallerState);
}

QString UpdateController::downloadedPackage() const
{
    const QString path = m_installer.downloadedPackage().value_or(QString());
    return QFileInfo(path).isFile() ? path : QString();
}

qint64 UpdateController::packageSize() const
{
    const QString path = downloadedPackage();
    return path.isEmpty() ? 0 : QFileInfo(path).size();
}

bool UpdateController::canRevealPackage() const
{
    // Only a failure that leaves the package for the user to install by hand offers it.
    return m_state.kind == UpdateInstallerState::Kind::failed &&
           m_state.failure == KelvoError::Kind::permission && !downloadedPackage().isEmpty();
}

void UpdateController::setShowingUpdateSheet(bool showing)
{
    if (showing == m_showingUpdateSheet)
        return;
    m_showingUpdateSheet = showing;
    emit showingUpdateSheetChanged();
}

QFuture<void> UpdateController::checkForUpdates(bool silent)
{
    if (!m_feed) {
        show(UpdateCheck::notConfigured());
        return QtFuture::makeReadyFuture();
    }
    // A check asked for while one is in flight joins it; its outcome is shown as loudly as either asked.
    m_checkSilent = (m_checking ? m_checkSilent : true) && silent;
    if (m_checking)
        return m_check;
    m_checking = true;
    emit checkChanged();
    m_check = UpdateCheck::run(m_network, m_feed, m_currentVersion, m_context.environment.build)
                  .then(this, [this](const UpdateCheckOutcome& outcome) {
                      m_checking = false;
                      m_context.statistics.recordNow(StatisticKey::lastUpdateCheckDate);
                      show(outcome);
                  });
    return m_check;
}

void UpdateController::show(const UpdateCheckOutcome& outcome)
{
    m_statusDetail = outcome.detail;
    // A failed check keeps what the last good one found.
    if (outcome.kind != UpdateCheckOutcome::Kind::failed) {
        m_latestVersionText = outcome.latest ? outcome.latest->displayVersion() : QString();
        m_releaseNotes = outcome.latest ? outcome.latest->releaseNotes.value_or(QString()) : QString();
        m_download = outcome.download;
    }
    if (!m_checkSilent && outcome.kind == UpdateCheckOutcome::Kind::failed)
        m_context.runs.setAlertMessage(outcome.detail);
    else if (!m_checkSilent && outcome.latest)
        m_context.runs.setStatusFor(std::nullopt, outcome.title, outcome.detail);
    emit checkChanged();
}

void UpdateController::setInstallerState(const UpdateInstallerState& state)
{
    m_state = state;
    emit installerStateChanged();
}

void UpdateController::installUpdate()
{
    if (!m_download)
        return;
    switch (m_state.kind) {
    case UpdateInstallerState::Kind::downloading:
    case UpdateInstallerState::Kind::installing:
        return;
    case UpdateInstallerState::Kind::readyToInstall:
        setShowingUpdateSheet(true);
        return;
    case UpdateInstallerState::Kind::idle:
    case UpdateInstallerState::Kind::failed:
        break;
    }
    setShowingUpdateSheet(true);
    setInstallerState({UpdateInstallerState::Kind::downloading, 0.0, {}});
    m_installer.download(*m_download);
}

void UpdateController::cancelDownload()
{
    m_installer.cancel();
    setInstallerState({});
    setShowingUpdateSheet(false);
}

void UpdateController::restartAndInstall()
{
    if (m_state.kind == UpdateInstallerState::Kind::readyToInstall)
        m_installer.performInstallAndRelaunch();
}

void UpdateController::revealDownloadedPackage() const
{
    if (canRevealPackage())
        Desktop::reveal(downloadedPackage());
}
