#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Does a path fall under the protection list?
namespace CleanWhitelistMatcher {
// One rule for every entry but "FINDER_METADATA": an entry protects each path it matches and
// everything below such a path, and every "*" in it stands for any run of characters, "/" included
// ("~/.config/*/Cache/keep*" keeps "~/.config/App/Cache/keep-me.bin" and "~/.config/a/b/Cache/keep/x").
// A plain path is an entry without a "*"; "JetBrains*" also covers "JetBrainsToolbox". Entries are
// normalised first (see normalizedEntry); "~" at the start and "$HOME" anywhere stand for the home
// folder, and an entry written with the home folder's real path also covers its given path.
// "FINDER_METADATA" protects every ".DS_Store" with what is below it and what lies inside a
// "com.apple.finder" or "com.apple.Finder" folder.
bool isProtected(const QString& path, const QStringList& patterns, const QString& home);
// One expanded entry against a standardised path.
bool matchesGlob(const QString& expandedEntry, const QString& standardizedPath);
// "*" stands for any run of characters; every other character stands for itself. No backtracking
// limit, no expression engine: every pattern can be evaluated.
bool wildcardMatch(QStringView pattern, QStringView text);

// An entry as it is meant: "${HOME}" written "$HOME", doubled separators, "." segments and a
// trailing separator dropped. "FINDER_METADATA" and comment lines stay as they are.
QString normalizedEntry(const QString& entry);
// What keeps an entry from protecting anything. Checked paths are absolute and standardised, so an
// entry that is not a full path once "~" and "$HOME" are expanded (a relative path, "~user", another
// variable such as "$USER") never matches one, and neither does an entry with a ".." component. A
// repeat of an earlier entry (as it is meant) is dropped when the list is saved.
enum class EntryProblem { none, notFullPath, climbsUp, duplicate };
// For one entry as written: none for "FINDER_METADATA", a comment, a full path, and a pattern
// beginning with "*" (it may match any full path).
EntryProblem problemOf(const QString& entry, const QString& home);
// For each entry of a list, in order: its own problem, else duplicate when an earlier entry means the
// same.
std::vector<EntryProblem> problemsOf(const QStringList& entries, const QString& home);
// What the problem means for the user, in the display language; none for none. The editor shows it
// under the line, and a refused save names the line before it.
std::optional<QString> problemText(EntryProblem problem);
// Why an entry in its meant form can never protect anything, in the display language (see
// problemOf); none for an entry that can.
std::optional<QString> whyNotHonoured(const QString& meantEntry, const QString& home);

// The protection list made ready once for many checks: every entry normalised and expanded, so a
// clean does not redo that for each path it meets. Answers as isProtected.
class List {
public:
    List(const QStringList& patterns, const QString& home);
    bool isProtected(const QString& path) const;
    // The same for a path that is already standardised (the remover's paths are built from names).
    bool protectsStandardized(const QString& path) const;
    // The entries that can protect something at or below folder (a standardised path): the same
    // answers there, asked of fewer entries.
    List within(const QString& folder) const;
    // False when nothing directly inside folder (a standardised path) can be protected other than
    // by its name, which mayProtectByName then judges: a walk asks about a folder once, and about
    // the items inside it only by name.
    bool mayProtectInside(const QString& folder) const;
    bool mayProtectByName(QByteArrayView name) const;

private:
    List() = default;
    struct Entry {
        bool finderMetadata = false;
        QString expanded;
        QString below; // expanded + "/*" where that matches more: what lies below a match
        bool matches(const QString& path) const;
    };
    void add(const QString& expanded);
    std::vector<Entry> m_entries;
};
} // namespace CleanWhitelistMatcher
