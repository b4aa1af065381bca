#include "update/UpdateConfiguration.h"

#include "platform/MainBundleInfo.h"

namespace {

const QString environmentKey = QStringLiteral("KELVO_UPDATE_FEED_URL");

// A text that holds something besides blanks: its URL, or none when it is not one. Blank: not given.
std::optional<std::optional<QUrl>> configuredURL(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return std::optional<QUrl>();
    return url;
}

} // namespace

namespace UpdateConfiguration {

std::optional<QUrl> feedURL(const std::optional<QString>& bundleFeedURL,
                            const QProcessEnvironment& environment)
{
    // A launch setting overrides the build's, even when it is not a URL: then nothing is configured.
    if (const auto fromEnvironment = configuredURL(environment.value(environmentKey)))
        return *fromEnvironment;
    if (bundleFeedURL)
        return configuredURL(*bundleFeedURL).value_or(std::nullopt);
    return std::nullopt;
}

std::optional<QString> bundleFeedURL()
{
    if (std::optional<QString> fromInfoPlist = MainBundleInfo::text(QStringLiteral("KelvoUpdateFeedURL")))
        return fromInfoPlist;
#ifdef KELVO_BUNDLE_FEED_URL
    return QStringLiteral(KELVO_BUNDLE_FEED_URL);
#else
    return std::nullopt;
#endif
}

} // namespace UpdateConfiguration
