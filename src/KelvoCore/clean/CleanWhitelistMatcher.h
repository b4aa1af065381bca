#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

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

// The protection list made ready once for many checks: the home expanded in every entry and every
// glob compiled, so a clean does not redo that for each path it meets. Answers as the functions above.
class List {
public:
    List(const QStringList& patterns, const QString& home);
    bool isProtected(const QString& path) const;
    bool protectsSomethingBelow(const QString& folder) const;

private:
    struct Entry {
        bool finderMetadata = false;
        QString expanded;
        std::optional<QRegularExpression> glob; // only for a "*" before the end
    };
    std::vector<Entry> m_entries;
};
} // namespace CleanWhitelistMatcher
