#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Where a downloaded package is kept and how it is checked.
namespace UpdatePackageFile {
// The URL's last path segment when it is a plain name ending in .dmg or .tar.gz, else this system's default
// name
// ("Kelvo.dmg" on macOS, "kelvo.tar.gz" elsewhere).
QString fileName(const QUrl& url);
// A new folder "KelvoUpdate-" + 8 random characters below parent, readable by the user alone; none
// when it cannot be made.
std::optional<QString> makePrivateFolder(const QString& parent);
// The file's SHA-256 in lower-case hex, read in pieces; none when it cannot be read.
std::optional<QString> sha256(const QString& path);
} // namespace UpdatePackageFile
