#pragma once

#include "platform/FileIdentity.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Decides whether a path may be moved to the Trash: only at or below the home folder or /Applications.
namespace ScanPathGuard {
QStringList allowedTrashRoots(const QString& home);
// Lexical: ".." cannot climb out of a root. A home folder that is empty, relative or the root folder
// admits nothing below it (only /Applications stays allowed).
bool isTrashAllowed(const QString& path, const QString& home);

// The one guarded move to the Trash every feature uses. The home folder must be usable, the path
// allowed and not one the removal policy keeps (a shared folder or one holding it), the item reached from its
// root without a link at any level, still the item the scan listed (scanned), and its resolved location
// allowed as well. None once the item is in the Trash; otherwise why it is not, in the display language.
std::optional<QString> moveToTrash(const QString& path, const std::optional<FileIdentity>& scanned,
                                   const QString& home);
// The same for a path as bytes on disk, so that a name that is not UTF-8 names exactly its own item;
// messages show such bytes as "\xFF".
std::optional<QString> moveToTrash(const QByteArray& path, const std::optional<FileIdentity>& scanned,
                                   const QString& home);
} // namespace ScanPathGuard
