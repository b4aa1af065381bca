#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Lexical path handling shared by the guard, the protection list and the scanners.
namespace PathText {
// Resolves "." and ".." components and redundant separators without touching the file system or
// following links; never ends with a separator except for the root itself.
QString standardized(const QString& path);
// True when path equals root or lies below it ("/a" admits "/a/b", never "/ab").
bool isAtOrBelow(const QString& path, const QString& root);
// True when path is at or below one of the roots.
bool isAtOrBelowAny(const QString& path, const QStringList& roots);
// base and relative with one separator between them ("/" and "Library" give "/Library"); purely
// lexical, nothing else is standardised.
QString joined(const QString& base, const QString& relative);
// The path as the user knows it: "~/.config/kelvo" for a path below the home folder, the path itself
// (standardised) elsewhere.
QString fromHome(const QString& path, const QString& home);

// The same for paths as bytes on disk, byte for byte: a name need not be UTF-8, and none is decoded.
QByteArray standardized(const QByteArray& path);
bool isAtOrBelow(const QByteArray& path, const QByteArray& root);
QByteArray joined(const QByteArray& base, const QByteArray& relative);
// A path as bytes, for people: UTF-8 where it is valid, each other byte as "\xFF" and the like, so
// two names that differ only in such bytes read differently.
QString shown(const QByteArray& path);
} // namespace PathText
