#pragma once

#include "platform/UserDirs.h"
#include "uninstall/FlatpakTool.h"
#include "uninstall/UninstallPreviewReport.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// The applications a Linux user installed without root: AppImages, desktop entries in
// ~/.local/share/applications whose program lives in the home folder, and the user's Flatpak apps,
// each with its icon, size, last use and leftovers (LinuxLeftovers). Never fails: what cannot be read
// gives no entry, a Flatpak tool that fails gives a note.
namespace LinuxApplications {

struct Options {
    QString flatpakTool = QStringLiteral("/usr/bin/flatpak"); // absolute; empty: no Flatpak apps
    std::chrono::milliseconds flatpakTimeLimit = FlatpakTool::listTimeLimit;
    std::optional<QStringList> appImageFolders; // none: appImageFolders(home)
};

// ~/Applications, ~/.local/bin and the XDG download folder.
QStringList appImageFolders(const QString& home);

// A regular file's name ending in ".AppImage", letter case ignored.
bool isAppImageName(const QString& fileName);

// The application's name in an AppImage's file name: the suffix and trailing version and architecture
// parts taken off ("krita-5.2.2-x86_64.appimage" is "krita").
QString appImageName(const QString& fileName);

// What goes with a program in the home folder: the folder of its own directly below a folder that
// many programs share (~/opt, ~/.local/share, ...), or else the program file itself: when it lies
// directly in such a folder (~/.local/bin/tool), anywhere in the desktop, documents or download
// folder, whose folders are the user's, or in a folder of the home folder's own (~/code/x/app), which
// may hold much more than the program. Empty when the program is not below the home folder.
QString programLocation(const QString& program, const QString& home, const UserDirs::Folders& personal);

UninstallPreviewReport snapshot(const QString& home, const Options& options = {});

} // namespace LinuxApplications
