#pragma once

#include <QString>

// Lexical path handling shared by the guard, the protection list and the scanners.
namespace PathText {
// Resolves "." and ".." components and redundant separators without touching the file system or
// following links; never ends with a separator except for the root itself.
QString standardized(const QString& path);
// True when path equals root or lies below it ("/a" admits "/a/b", never "/ab").
bool isAtOrBelow(const QString& path, const QString& root);
} // namespace PathText
