#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QUrl>

#include <optional>

// Where the update feed is: KELVO_UPDATE_FEED_URL when it holds something other than blanks (even
// when that is not a URL: then there is none), else the bundle's KelvoUpdateFeedURL; none means
// updates are not configured.
namespace UpdateConfiguration {
std::optional<QUrl> feedURL(const std::optional<QString>& bundleFeedURL,
                            const QProcessEnvironment& environment);
// The bundle's KelvoUpdateFeedURL as this build was configured with it (CMake's KELVO_UPDATE_FEED_URL;
// on macOS also the Info.plist key); none when it was not.
std::optional<QString> bundleFeedURL();
} // namespace UpdateConfiguration
