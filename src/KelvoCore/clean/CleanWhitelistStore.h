#pragma once

#include "vocabulary/TargetSystem.h"

#include <QString>
#include <QStringList>

// The user's protection list for Smart Clean: entries it must never touch.
struct CleanWhitelistState {
    QStringList patterns; // trimmed, non-empty, without duplicates, in file order

    bool operator==(const CleanWhitelistState&) const = default;
};

// The list file home/.config/kelvo/whitelist, read with a fallback to the older tool's
// home/.config/tarn/whitelist (never written).
namespace CleanWhitelistStore {
QString configURL(const QString& home);
QString legacyConfigURL(const QString& home);
// The shipped list of a system, the built one's unless a caller names another (the file is this
// machine's). Linux's also holds the Linux twin of each entry that has one (the same tools keep their
// caches under ~/.cache and ~/.local/share there).
const QStringList& defaultPatterns(TargetSystem system = TargetSystems::built());

// Fails safe: only a missing file means the system's defaults (or the older tool's file). Throws
// KelvoError, naming the file and the reason, when something is at the path but is not a readable
// regular file of at most 1 MB that is UTF-8 throughout; a caller about to remove must then remove
// nothing.
CleanWhitelistState load(const QString& home, TargetSystem system = TargetSystems::built());
// Throws KelvoError when the folder cannot be made or the file cannot be written; the previous
// file then stays as it was.
void save(const CleanWhitelistState& state, const QString& home);

// Later repeats removed, order kept.
QStringList deduplicated(const QStringList& entries);
// The entries of a list text: split at line breaks, trimmed, comments and blank lines dropped.
QStringList parse(const QString& text);
// The file text as written by save.
QString serialize(const CleanWhitelistState& state);
} // namespace CleanWhitelistStore
