#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>
#include <vector>

// Decides whether a zip archive carries an installer, without unpacking it: by its name, by a short
// listing of its entry names, or by the names in its central directory at the end of the file.
namespace InstallerArchive {

// The tool is run with its arguments followed by the archive's path and prints one name a line.
struct ListingTool {
    QString program; // absolute path
    QStringList arguments;
};

struct ListingSetup {
    std::vector<ListingTool> tools; // tried in order; the first listing wins
    std::chrono::milliseconds toolTimeLimit{2000};
};

inline constexpr int listingLimit = 50;
inline constexpr qint64 tailBytes = 512 * 1024;

// "/usr/bin/unzip -Z -1", then "/usr/bin/zipinfo -1".
ListingSetup standardListing();
// "/usr/bin/tar -tf", which reads gzip, xz, bzip2 and zstd tarballs through their own tools. The path
// is absolute, so tar never takes a colon in it for a remote host.
ListingSetup tarListing();

// The tool's first `limit` non-empty lines; none when it is missing, fails, hangs past its time
// limit, prints no lines or prints text that is not UTF-8.
std::optional<QStringList> runListingTool(const ListingTool& tool, const QString& archivePath, int limit,
                                          std::chrono::milliseconds timeLimit);
// A listing tool's output as names: its first `limit` non-empty lines; none when there are none or the
// text is not UTF-8.
std::optional<QStringList> listingLines(const QByteArray& output, int limit);
// The first listing any tool gives, or none.
std::optional<QStringList> listEntries(const QString& archivePath, int limit, const ListingSetup& listing);

// True when a name is, or lies inside, an application, package, disk image or Xcode archive.
bool namesHoldInstaller(const QStringList& names);

// True when the last 512 KiB of the file hold an installer marker (see holdsInstallerMarker).
bool tailContainsInstallerMarker(const QString& archivePath);
// True when the bytes hold ".pkg/", ".dmg", ".xip" or ".app/" in any letter case.
bool holdsInstallerMarker(const QByteArray& bytes);

// The whole rule for a ".zip" file: "*.app.zip" by name; otherwise the first 50 listed names; when no
// listing comes back (or listing is not allowed), the archive's tail.
bool carriesInstaller(const QString& archivePath, const ListingSetup& listing, bool listingAllowed = true);

} // namespace InstallerArchive
