#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <map>
#include <optional>

// Where one platform's package of a release is, and the hex SHA-256 it must have.
struct UpdateDownload {
    QUrl url;
    std::optional<QString> sha256; // lower-case hex, 64 digits

    bool operator==(const UpdateDownload&) const = default;
};

// The update feed's record of the newest release. Besides "version", "build", "download_url",
// "release_notes_url" and "release_notes", a feed may give "sha256" (of the file at "download_url")
// and "platforms": {"macos" | "linux-x86_64" | ...: {"download_url", "sha256"}}, which takes
// precedence on that platform.
struct KelvoUpdateInfo {
    QString version;
    std::optional<QString> build;
    std::optional<QUrl> downloadURL;
    std::optional<QUrl> releaseNotesURL;
    std::optional<QString> releaseNotes;
    std::optional<QString> sha256;
    std::map<QString, UpdateDownload> platforms;

    bool operator==(const KelvoUpdateInfo&) const = default;

    // "v" and the version.
    QString displayVersion() const;
    // The package for the platform key ("macos", "linux-x86_64"): its own entry, else the record's
    // download URL and checksum; none when there is neither.
    std::optional<UpdateDownload> download(const QString& platformKey) const;
    // That package when the record is newer than the running release; none otherwise.
    std::optional<UpdateDownload> installableDownload(const QString& currentVersion,
                                                      const std::optional<QString>& currentBuild,
                                                      const QString& platformKey) const;
    // The platform key of the system Kelvo runs on.
    static QString thisPlatformKey();

    // Throws KelvoError (translated, naming the key) when the body is not a JSON object, "version" is
    // missing or not text, a known key has the wrong type, an address is not an absolute URL, or a
    // checksum is not 64 hex digits. Unknown keys are ignored.
    static KelvoUpdateInfo fromJson(const QByteArray& body);
    QJsonObject toJson() const;
};
