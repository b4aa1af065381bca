#pragma once

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
const QStringList& defaultPatterns();

// Throws KelvoError when an existing file cannot be read or is not UTF-8.
CleanWhitelistState load(const QString& home);
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
