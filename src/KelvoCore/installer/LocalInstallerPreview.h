#pragma once

#include "installer/InstallerArchive.h"
#include "installer/InstallerPreviewReport.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <vector>

// Finds installers (disk images, packages, archives that carry an app, profiles) in the well-known
// download locations and measures them. It never moves or deletes anything.
namespace LocalInstallerPreview {

// "dmg", "pkg", "mpkg", "iso", "xip", "zip", "appinstaller", "mobileconfig".
const QStringList& scannedFileExtensions();

inline constexpr int defaultMaxDepth = 2; // a location's files and one folder level below

// A place searched for installers, labelled by where it is.
struct ScanPath {
    QString path;
    QString source;
    bool operator==(const ScanPath&) const = default;
};

// A place as the feature page lists it before a scan.
struct ScanLocation {
    QString path;
    QString displayName; // last path component, or the whole path when there is none
    QString source;
    bool exists = false;
    bool operator==(const ScanLocation&) const = default;
};

// A system-wide place, searched only for the current user's own home folder.
struct SystemLocation {
    QString path;
    QString sourceZh;
    QString sourceEn;
};

// Everything the scan searches apart from the home folder's own places, so tests can point it at
// synthetic folders.
struct Places {
    QString sharedRoot; // empty: no shared folder
    QString currentHome;
    std::vector<SystemLocation> systemLocations;
};
// "/Users/Shared", the current user's home, "/Library/Updates" and the two Homebrew Caskrooms.
Places systemPlaces();

struct Options {
    std::chrono::milliseconds budget{8000}; // one time budget for the whole scan
    InstallerArchive::ListingSetup listing = InstallerArchive::standardListing();
    const std::atomic_bool* cancelled = nullptr;
};

// In scan order: the home folder's download places, the shared folder and its Downloads, the
// Homebrew, iCloud, Mail and Telegram downloads, then the system locations when home is the current
// user's home.
std::vector<ScanPath> installerScanPaths(const QString& home, const Places& places);
std::vector<ScanLocation> availableScanLocations(const QString& home, const Places& places);

InstallerPreviewReport snapshot(const QString& home, const Places& places, int maxDepth = defaultMaxDepth,
                                const Options& options = {});

} // namespace LocalInstallerPreview
