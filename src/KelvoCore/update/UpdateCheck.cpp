#include "update/UpdateCheck.h"

#include "update/UpdateService.h"
#include "update/UpdateVersionComparator.h"
#include "vocabulary/KelvoError.h"

namespace UpdateCheck {

namespace {

LocalText text(const char* zh, const char* en)
{
    return {QString::fromUtf8(zh), QString::fromUtf8(en)};
}

} // namespace

QString comparedVersion(const QString& versionText)
{
    return versionText.isEmpty() ? QStringLiteral("0") : versionText;
}

UpdateCheckOutcome notConfigured()
{
    return {UpdateCheckOutcome::Kind::notConfigured, std::nullopt, std::nullopt,
            text("还没有配置更新地址。", "The update feed URL has not been configured.")};
}

UpdateCheckOutcome failed(const QString& description)
{
    return {UpdateCheckOutcome::Kind::failed, std::nullopt, std::nullopt,
            text("检查更新失败：", "Update check failed: ") + description};
}

UpdateCheckOutcome found(const KelvoUpdateInfo& latest, const QString& currentVersion,
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

QFuture<UpdateCheckOutcome> run(QNetworkAccessManager& network, const std::optional<QUrl>& feed,
                                const QString& currentVersion, const std::optional<QString>& currentBuild)
{
    if (!feed)
        return QtFuture::makeReadyFuture(notConfigured());
    return UpdateService::fetchLatest(network, *feed)
        .then([currentVersion, currentBuild](const KelvoUpdateInfo& latest) {
            return found(latest, currentVersion, currentBuild);
        })
        .onFailed([](const KelvoError& error) { return failed(error.description()); })
        .onFailed([] { return failed(text("未知错误。", "Unknown error.").text()); });
}

} // namespace UpdateCheck
