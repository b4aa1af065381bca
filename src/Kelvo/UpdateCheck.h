#pragma once

// One check of the update feed and what it found, in the words the settings page and the command line
// both use.

#include "update/KelvoUpdateInfo.h"
#include "update/UpdateService.h"
#include "update/UpdateVersionComparator.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QFuture>
#include <QString>
#include <QUrl>

#include <optional>

struct UpdateCheckOutcome {
    enum class Kind { notConfigured, failed, upToDate, available };
    Kind kind = Kind::notConfigured;
    std::optional<KelvoUpdateInfo> latest;  // the feed's record, when it was read
    std::optional<UpdateDownload> download; // this system's package of a newer release
    QString detail;                         // one line for people
    QString title = {};                     // the status line's title, for a feed that was read
};

namespace UpdateCheck {

inline QString text(const char* zh, const char* en)
{
    return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
}

// A local build has no version text; it counts as older than every release.
inline QString comparedVersion(const QString& versionText)
{
    return versionText.isEmpty() ? QStringLiteral("0") : versionText;
}

inline UpdateCheckOutcome notConfigured()
{
    return {UpdateCheckOutcome::Kind::notConfigured, std::nullopt, std::nullopt,
            text("还没有配置更新地址。", "The update feed URL has not been configured.")};
}

inline UpdateCheckOutcome failed(const QString& description)
{
    return {UpdateCheckOutcome::Kind::failed, std::nullopt, std::nullopt,
            text("检查更新失败：", "Update check failed: ") + description};
}

inline UpdateCheckOutcome found(const KelvoUpdateInfo& latest, const QString& currentVersion,
                                const std::optional<QString>& currentBuild)
{
    if (UpdateVersionComparator::isUpdateAvailable(currentVersion, currentBuild, latest.version,
                                                   latest.build))
        return {UpdateCheckOutcome::Kind::available, latest,
                latest.installableDownload(currentVersion, currentBuild, KelvoUpdateInfo::thisPlatformKey()),
                text("发现新版本 ", "New version available: ") + latest.displayVersion(),
                text("发现新版本", "Update Available")};
    return {UpdateCheckOutcome::Kind::upToDate, latest, std::nullopt,
            text("当前已经是最新版。", "You are already on the latest version."),
            text("已是最新版", "Up to Date")};
}

// Reads the feed (none: updates are not configured) and says what it found; the future never fails.
// Call on a thread with an event loop, as UpdateService::fetchLatest.
inline QFuture<UpdateCheckOutcome> run(QNetworkAccessManager& network, const std::optional<QUrl>& feed,
                                       const QString& currentVersion,
                                       const std::optional<QString>& currentBuild)
{
    if (!feed)
        return QtFuture::makeReadyFuture(notConfigured());
    return UpdateService::fetchLatest(network, *feed)
        .then([currentVersion, currentBuild](const KelvoUpdateInfo& latest) {
            return found(latest, currentVersion, currentBuild);
        })
        .onFailed([](const KelvoError& error) { return failed(error.description()); })
        .onFailed([] { return failed(text("未知错误。", "Unknown error.")); });
}

} // namespace UpdateCheck
