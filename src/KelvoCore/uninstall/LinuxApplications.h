#pragma once

#include "uninstall/FlatpakTool.h"
#include "uninstall/UninstallPreviewReport.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// The applications a Linux user installed without root: AppImages, desktop entries in
// ~/.local/share/applications whose program lives in the home folder (and, marked, those whose program
// is gone or is not a program), and the user's Flatpak apps, each with its icon, size, last use and
// leftovers (LinuxLeftovers). Everything is reached from the home folder without a link. Never fails:
// what cannot be read gives no entry, a Flatpak tool that fails gives a note.
namespace LinuxApplications {

struct Options {
    QString flatpakTool = QStringLiteral("/usr/bin/flatpak"); // absolute; empty: no Flatpak apps
    std::chrono::milliseconds flatpakTimeLimit = FlatpakTool::listTimeLimit;
    std::optional<QStringList> appImageFolders; // none: appImageFolders(home)
    QString systemRoot = {};                    // where the system's applications are; empty: "/"
};

// ~/Applications, ~/.local/bin and the XDG download folder.
QStringList appImageFolders(const QString& home);

// A regular file's name ending in ".AppImage", letter case ignored.
bool isAppImageName(const QString& fileName);

// The application's name in an AppImage's file name: the suffix and trailing version and architecture
// parts taken off ("krita-5.2.2-x86_64.appimage" is "krita").
QString appImageName(const QString& fileName);

// The folders holding the desktop entries of the applications the system installed, below systemRoot
// (/usr/share/applications, Flatpak's and Snap's exports), then the user's Flatpak exports.
QStringList systemEntryFolders(const QString& systemRoot, const QString& home);

UninstallPreviewReport snapshot(const QString& home, const Options& options = {});

} // namespace LinuxApplications
