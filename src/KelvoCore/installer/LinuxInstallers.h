#pragma once

#include "vocabulary/LocalText.h"

#include <QString>
#include <QStringList>

#include <optional>

// The installers of Linux desktops, told by the end of the file name in any letter case: packages
// (.deb, .rpm, .AppImage, Flatpak and Snap files, self-extracting .run installers) and the archives
// that can carry one (.zip and compressed tarballs).
namespace LinuxInstallers {

// What an installer is: a fixed word for machines ("deb", "appimage", ..., "archive") and its name for
// people in the display language ("Debian package", "Archive · AppImage").
struct Kind {
    QString code;
    LocalText text;
    bool operator==(const Kind&) const = default;
};

// The file types as the page lists them: the packages, then the archives.
const QStringList& fileTypes();

// The package a file name is, case ignored; none for anything else, archives included.
std::optional<Kind> packageKind(const QString& name);

// True for a package or an archive: a file worth judging. Cheaper than packageKind, which names it.
bool isInstallerName(const QString& name);

// True for a zip or a tarball compressed with gzip, xz, bzip2 or zstd.
bool isArchive(const QString& name);
bool isZip(const QString& name);

// The first package among an archive's entry names, as the archive's kind; none when it carries none.
std::optional<Kind> archiveKind(const QStringList& entryNames);

} // namespace LinuxInstallers
