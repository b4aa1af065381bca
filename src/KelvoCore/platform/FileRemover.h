#pragma once

#include "platform/ConfinedPath.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

// The one remover: deletes for good, relative to open folders, never by a path text. A link is
// removed as a link at any depth and whatever it points to stays; a folder is entered only after
// checking that the folder opened is the one just looked at, so a folder swapped for a link mid-way
// is never entered; nothing on another file system (another device, or a mount of any kind) is
// touched. Whatever could not be removed, or was left because removing it was not safe, counts as
// failed with its reason.
namespace FileRemover {

struct LeftBehind {
    QString path;
    QString reason; // in the display language of the moment it was left
    bool operator==(const LeftBehind&) const = default;
};

struct Tally {
    int removed = 0;              // items gone: a folder removed with all it held counts once
    int failed = 0;               // items that stayed although they were meant to go
    qint64 bytes = 0;             // allocated bytes of every file, link and special file removed
    std::vector<LeftBehind> left; // why, for the first maxReported failures

    void add(const Tally& other);
    void leave(const QString& path, const QString& reason);
    bool operator==(const Tally&) const = default;
};

inline constexpr qsizetype maxReported = 100;
// Folders nested deeper than this below the item are left (and counted as failed): each level holds
// an open folder while the levels below it are removed.
inline constexpr int maxNestingDepth = 400;

// Whether a path (standardised, built from the names on disk) must stay: it and everything below it.
using KeepTest = std::function<bool(const QString& path)>;

// Removes everything inside a reached folder except what keep names, and the folders that then still
// hold something; the folder itself stays.
Tally removeContents(const ConfinedPath::Reached& folder, const KeepTest& keep = {});
// Removes a reached item: a file or link as itself, a folder with everything inside it except what
// keep names.
Tally removeItem(const ConfinedPath::Reached& item, const KeepTest& keep = {});

// Removes the item at path, reached from root without a link on the way (ConfinedPath), then as
// removeItem; nothing there is nothing to do. For the remover's callers that hold a path.
Tally removeBelow(const QString& root, const QString& path, const KeepTest& keep = {});

// "3 items stayed:" and the reasons of the first few, one per line, in the display language.
QString leftBehindText(qint64 count, const std::vector<LeftBehind>& left);

} // namespace FileRemover
