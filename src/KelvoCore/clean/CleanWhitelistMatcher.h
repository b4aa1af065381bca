#pragma once

#include <QString>
#include <QStringList>

// Does a path fall under the protection list?
namespace CleanWhitelistMatcher {
// Entry forms: "FINDER_METADATA"; a prefix rule ending in "*"; a glob with "*" inside; a plain path
// (itself and everything below). "$HOME" and "~" expand to the home folder anywhere in an entry.
bool isProtected(const QString& path, const QStringList& patterns, const QString& home);
// True when an entry may protect a path strictly inside folder (a plain path or the fixed part of a
// pattern lies inside it, or a glob's "*" could reach into it), so removing the folder whole could
// remove something protected.
bool protectsSomethingBelow(const QString& folder, const QStringList& patterns, const QString& home);
// One expanded entry against a standardised path.
bool matchesGlob(const QString& expandedEntry, const QString& standardizedPath);
} // namespace CleanWhitelistMatcher
