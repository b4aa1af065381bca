// kelvo update: asks the update feed for a newer release, and downloads, checks and installs it.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "update/UpdateCheck.h"
#include "update/UpdateConfiguration.h"
#include "update/UpdateInstaller.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QJsonValue>
#include <QNetworkAccessManager>
#include <QTextStream>

#include <utility>

namespace CommandLine {

namespace {

// The command line has no event loop of its own: one runs here until the future has finished.
template <typename T> T await(const QFuture<T>& future)
{
    if (!future.isFinished()) {
        QEventLoop loop;
        QFutureWatcher<T> watcher;
        QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(future);
        loop.exec();
    }
    return future.result();
}

QJsonValue textOrNull(const std::optional<QString>& text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

QJsonObject checkJson(const UpdateCheckOutcome& outcome, const QUrl& feed, const QString& currentVersion,
                      const std::optional<QString>& currentBuild)
{
    QJsonValue download(QJsonValue::Null);
    if (outcome.download)
        download = QJsonObject{{QStringLiteral("url"), outcome.download->url.toString()},
                               {QStringLiteral("sha256"), textOrNull(outcome.download->sha256)}};
    return {{QStringLiteral("feed_url"), feed.toString()},
            {QStringLiteral("current_version"), currentVersion},
            {QStringLiteral("current_build"), textOrNull(currentBuild)},
            {QStringLiteral("update_available"), outcome.kind == UpdateCheckOutcome::Kind::available},
            {QStringLiteral("latest"), outcome.latest->toJson()},
            {QStringLiteral("download"), download},
            {QStringLiteral("status_text"), outcome.detail.text()}};
}

void printNotes(Streams& streams, const KelvoUpdateInfo& latest)
{
    if (latest.releaseNotes && !latest.releaseNotes->trimmed().isEmpty())
        streams.out << '\n' << latest.releaseNotes->trimmed() << "\n\n";
    streams.out.flush();
}

// Downloads the package with a progress line on standard error, checks and installs it; the installed
// release is not started.
int install(QNetworkAccessManager& network, const UpdateDownload& package, const QString& version,
            const Environment& environment, Streams& streams)
{
    QEventLoop loop;
    std::optional<int> status;
    QString newExecutable;
    const auto finish = [&](int exitStatus) {
        status = exitStatus;
        loop.exit(exitStatus);
    };
    UpdateInstaller::Options options = environment.updateInstaller;
#ifndef Q_OS_MACOS
    // The new kelvo is not started: the command line says where it is. (On macOS what is started is the
    // script that replaces the bundle once this process has quit.)
    options.relaunch = [&newExecutable](const QString& executable) {
        newExecutable = executable;
        return true;
    };
#endif
    options.quit = [&] {
        QMetaObject::invokeMethod(
            &loop, [&] { finish(0); }, Qt::QueuedConnection);
    };
    UpdateInstaller installer(network, options);
    int shownPercent = -1;
    bool progressLineOpen = false;
    const auto endProgressLine = [&] {
        if (std::exchange(progressLineOpen, false))
            streams.err << '\n';
    };
    QObject::connect(
        &installer, &UpdateInstaller::stateChanged, &loop, [&](const UpdateInstallerState& state) {
            switch (state.kind) {
            case UpdateInstallerState::Kind::downloading:
                if (const int percent = qRound(state.progress * 100); percent != shownPercent) {
                    shownPercent = percent;
                    streams.err << '\r' << L("正在下载更新…", "Downloading update…")
                                << (percent > 0 ? QStringLiteral(" %1%").arg(percent) : QString());
                    streams.err.flush();
                    progressLineOpen = true;
                }
                break;
            case UpdateInstallerState::Kind::readyToInstall:
                endProgressLine();
                QMetaObject::invokeMethod(
                    &installer, [&installer] { installer.performInstallAndRelaunch(); },
                    Qt::QueuedConnection);
                break;
            case UpdateInstallerState::Kind::installing:
                streams.out << L("正在安装…", "Installing…") << '\n';
                streams.out.flush();
                break;
            case UpdateInstallerState::Kind::failed:
                endProgressLine();
                failure(streams, state.message);
                finish(1);
                break;
            case UpdateInstallerState::Kind::idle:
                break;
            }
        });
    installer.download(package);
    if (!status) // a package refused at once has already failed
        loop.exec();
    if (*status != 0)
        return *status;
#ifdef Q_OS_MACOS
    streams.out << L("Kelvo %1 会在这个进程退出后完成安装。",
                     "Kelvo %1 is installed once this process has quit.")
                       .arg(version)
                << '\n';
#else
    streams.out << L("已安装 Kelvo %1：%2", "Installed Kelvo %1: %2").arg(version, newExecutable) << '\n';
#endif
    streams.out.flush();
    return 0;
}

} // namespace

int update(const Arguments& arguments, const Environment& environment, Streams& streams)
{
    const bool check = arguments.has("--check");
    if (check == arguments.has("--install"))
        return usageError(
            streams, L("update 需要 --check 或 --install 其中之一。", "update takes --check or --install."));
    const bool json = arguments.has("--json");
    const bool yes = arguments.has("--yes");
    if (json && !check)
        return usageError(streams, L("--json 只能和 --check 一起使用。", "--json goes with --check only."));
    if (yes && check)
        return usageError(streams, L("--yes 只能和 --install 一起使用。", "--yes goes with --install only."));

    const std::optional<QUrl> feed =
        UpdateConfiguration::feedURL(UpdateConfiguration::bundleFeedURL(), environment.processEnvironment);
    const QString currentVersion = UpdateCheck::comparedVersion(environment.version);
    QNetworkAccessManager network;
    const UpdateCheckOutcome outcome =
        await(UpdateCheck::run(network, feed, currentVersion, environment.build));
    switch (outcome.kind) {
    case UpdateCheckOutcome::Kind::notConfigured:
        return failure(streams, outcome.detail.text() + QLatin1Char('\n') +
                                    L("在环境变量 KELVO_UPDATE_FEED_URL 中给出更新地址，或在构建时配置它。",
                                      "Name the feed in the environment variable KELVO_UPDATE_FEED_URL, or "
                                      "configure the build with it."));
    case UpdateCheckOutcome::Kind::failed:
        return failure(streams, outcome.detail.text());
    case UpdateCheckOutcome::Kind::upToDate:
    case UpdateCheckOutcome::Kind::available:
        break;
    }
    if (json) {
        printJson(streams, QStringLiteral("update_check"), QDateTime::currentDateTimeUtc(),
                  checkJson(outcome, *feed, currentVersion, environment.build));
        return 0;
    }
    streams.out << outcome.detail.text() << '\n';
    if (outcome.kind == UpdateCheckOutcome::Kind::upToDate)
        return 0;
    printNotes(streams, *outcome.latest);
    if (check)
        return 0;

    const QString version = outcome.latest->displayVersion();
    if (!outcome.download)
        return failure(streams,
                       L("%1 没有适用于这个系统（%2）的安装包。", "%1 has no package for this system (%2).")
                           .arg(version, KelvoUpdateInfo::thisPlatformKey()));
    if (!yes &&
        !confirmed(streams, L("下载并安装 %1 吗？[y/N] ", "Download and install %1? [y/N] ").arg(version))) {
        streams.out << L("已取消，没有安装任何内容。", "Cancelled. Nothing was installed.") << '\n';
        return 1;
    }
    return install(network, *outcome.download, version, environment, streams);
}

} // namespace CommandLine
