#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// UTF-8 text files. Reading and writing throw KelvoError with a translated description on failure.
namespace TextFile {
inline constexpr qint64 listFileMaxBytes = 1024 * 1024;

// The whole file as UTF-8. Only a regular file of at most maxBytes is read, opened without blocking,
// so a FIFO or a device standing in its place never hangs or floods the reader; throws when the file
// cannot be read, is anything else, is larger, or holds a line that is not valid UTF-8 (named).
QString readUtf8(const QString& path, qint64 maxBytes = 16 * 1024 * 1024);
// A list file the user edits: none when nothing at all is at the path; otherwise as readUtf8, with
// the list files' size limit. A dangling link is something, and fails to read.
std::optional<QString> readListFile(const QString& path);
// Writes path, which lies below root (the home folder), atomically: its folder is reached from root
// without a link at any level and made where missing (ConfinedPath::reachFolder), and the file is
// written relative to that open folder (ConfinedPath::Folder::writeFile). A link on the way, or at
// the file itself, refuses the write, naming it; whatever fails leaves the previous file intact.
void writeUtf8Atomically(const QString& root, const QString& path, const QString& text);
// The text split at every line-break character (LF, CR, VT, FF, NEL, LS, PS), so a CR LF pair
// leaves an empty line between its two halves for the caller to drop.
QStringList lines(const QString& text);
} // namespace TextFile
