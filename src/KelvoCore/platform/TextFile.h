#pragma once

#include <QString>
#include <QStringList>

// UTF-8 text files. Reading and writing throw KelvoError with a translated description on failure.
namespace TextFile {
// The whole file as UTF-8; throws when it cannot be read or is not valid UTF-8.
QString readUtf8(const QString& path);
// Writes atomically: a temporary file replaces the target only once fully written, so a failed
// write leaves the previous file intact. Creates missing parent folders.
void writeUtf8Atomically(const QString& path, const QString& text);
// The text split at every line-break character (LF, CR, VT, FF, NEL, LS, PS), so a CR LF pair
// leaves an empty line between its two halves for the caller to drop.
QStringList lines(const QString& text);
} // namespace TextFile
