#pragma once

#include "installer/InstallerArchive.h"
#include "installer/InstallerPreviewReport.h"
#include "vocabulary/TargetSystem.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <vector>

// Finds installers in the well-known download locations and measures them: on macOS disk images,
// packages, archives that carry an app and profiles; on Linux the packages and archives of
// LinuxInstallers, in the folders the XDG user-dirs file names. It never moves or deletes anything.
namespace LocalInstallerPreview {

// "dmg", "pkg", "mpkg", "iso", "xip", "zip", "appinstaller", "mobileconfig".
const QStringList& scannedFileExtensions();

// Which system's installers and places a scan looks for.
// The file types as the page lists them, each with its leading dot.
QStringList fileTypes(TargetSystem system);

inline constexpr int defaultMaxDepth = 2; // a location's files and one folder level below

// A place searched for installers, labelled by where it is.
struct ScanPath {
    QString path;
    LocalText source;
    bool operator==(const ScanPath&) const = default;
};

// A place as the feature page lists it before a scan.
struct ScanLocation {
    QString path;
    QString displayName; // last path component, or the whole path when there is none
    LocalText source;
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
// synthetic folders and choose the system.
struct Places {
    QString sharedRoot; // empty: no shared folder; macOS only
    QString currentHome;
    std::vector<SystemLocation> systemLocations; // macOS only
    TargetSystem system = TargetSystem::macOS;
    // Linux: the folder holding user-dirs.dirs; empty: XDG_CONFIG_HOME, else the home's ".config".
    QString configHome = {};
};
// On macOS "/Users/Shared", the current user's home, "/Library/Updates" and the two Homebrew
// Caskrooms; on Linux the current user's home and the Linux installers.
Places systemPlaces(TargetSystem system);

struct Options {
    std::chrono::milliseconds budget{8000}; // one time budget for the whole scan
    InstallerArchive::ListingSetup listing = InstallerArchive::standardListing(); // zip archives
    InstallerArchive::ListingSetup tarListing = InstallerArchive::tarListing();   // Linux tarballs
    const std::atomic_bool* cancelled = nullptr;
};

// In scan order. macOS: the home folder's download places, the shared folder and its Downloads, the
// Homebrew, iCloud, Mail and Telegram downloads, then the system locations when home is the current
// user's home. Linux: the download, desktop and documents folders the user-dirs file names, Public,
// and Telegram's folder in the download folder.
std::vector<ScanPath> installerScanPaths(const QString& home, const Places& places);
std::vector<ScanLocation> availableScanLocations(const QString& home, const Places& places);

InstallerPreviewReport snapshot(const QString& home, const Places& places, int maxDepth = defaultMaxDepth,
                                const Options& options = {});

} // namespace LocalInstallerPreview
