#pragma once

// One check of the update feed and what it found, in the words the settings page and the command line
// both use.

#include "update/KelvoUpdateInfo.h"
#include "vocabulary/LocalText.h"

#include <QFuture>
#include <QString>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;

struct UpdateCheckOutcome {
    enum class Kind { notConfigured, failed, upToDate, available };
    Kind kind = Kind::notConfigured;
    std::optional<KelvoUpdateInfo> latest;  // the feed's record, when it was read
    std::optional<UpdateDownload> download; // this system's package of a newer release
    LocalText detail;                       // one line for people
    LocalText title = {};                   // the status line's title, for a feed that was read
};

namespace UpdateCheck {

// A local build has no version text; it counts as older than every release.
QString comparedVersion(const QString& versionText);

UpdateCheckOutcome notConfigured();
UpdateCheckOutcome failed(const QString& description);
UpdateCheckOutcome found(const KelvoUpdateInfo& latest, const QString& currentVersion,
                         const std::optional<QString>& currentBuild);

// Reads the feed (none: updates are not configured) and says what it found; the future never fails.
// Call on a thread with an event loop, as UpdateService::fetchLatest.
QFuture<UpdateCheckOutcome> run(QNetworkAccessManager& network, const std::optional<QUrl>& feed,
                                const QString& currentVersion, const std::optional<QString>& currentBuild);

} // namespace UpdateCheck
