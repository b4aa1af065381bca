#pragma once

#include "platform/ConfinedPath.h"
#include "platform/FileIdentity.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// The one tree walker every scanner uses: one stat per item, symbolic links never followed.
namespace FileWalker {

enum class Kind { file, folder, link, other };

struct Item {
    QString path; // to show and to match: a name that is not UTF-8 reads with U+FFFD here
    QString name;
    // The path as bytes on disk when `path` does not spell them (a name on the way is not UTF-8);
    // empty when it does. bytes() gives them either way.
    QByteArray rawPath;
    Kind kind = Kind::other;
    qint64 allocatedBytes = 0; // blocks on disk, the size the user gets back
    qint64 logicalBytes = 0;
    qint64 accessTime = 0; // seconds since 1970
    int depth = 0;         // 1 for the root's own children
    FileIdentity identity; // the item as it was when it was listed

    QByteArray bytes() const;
};

enum class Decision { proceed, skipDescendants, stop };

struct Options {
    bool includeHidden = true;
    bool enterPackages = true; // false: bundles (".app", ".framework", ...) are listed, not entered
    // true: an item whose kind the folder listing tells is not stat'ed, so it comes without sizes,
    // times or identity; for walks that only count names. Folders are still entered without links.
    bool namesOnly = false;
    int maxDepth = -1;   // -1: no limit; 1: the root's children only
    qint64 itemCap = -1; // -1: no limit; the walk stops after this many items
    std::optional<QDeadlineTimer> deadline;
    const std::atomic_bool* cancelled = nullptr;
};

struct Outcome {
    qint64 itemCount = 0;
    bool rootListed = false; // false when the root is missing, not a folder, or unreadable
    bool finished = true;    // false when the cap, the deadline, a cancel or the visitor stopped it
};

using Visitor = std::function<Decision(const Item&)>;

// Visits every item below root, parents before their children. Unreadable folders and items that
// vanish mid-walk are passed over silently.
Outcome walk(const QString& root, const Options& options, const Visitor& visit);

// The same below a folder already listed, opened by its bytes (without following a link there); the
// items' paths continue its path, their bytes its bytes.
Outcome walk(const Item& folder, const Options& options, const Visitor& visit);

// The same below a folder that is already open (fd is taken over and closed).
Outcome walkOpenFolder(int fd, const QString& path, const Options& options, const Visitor& visit);

// One item's own facts, without following a link; none when nothing is there.
std::optional<Item> statItem(const QString& path);
// The same for a path as bytes on disk.
std::optional<Item> statItem(const QByteArray& path);
// Whether there is something where a link points (following it, and any link there).
bool leadsSomewhere(const Item& link);

// What a location takes on disk, as far as the measurement went.
struct Measurement {
    qint64 allocatedBytes = 0; // the files' blocks (and the links', when counted), never wrapping
    qint64 files = 0;
    qint64 folders = 0;   // below the root: the root itself does not count
    bool complete = true; // false when the cap or a cancel cut the walk short
    qint64 links = 0;     // links and special files, when MeasureOptions::countLinks asks for them
    bool operator==(const Measurement&) const = default;
};

struct MeasureOptions {
    // false: a bundle (".app", ".framework", ...) counts as one folder and is not entered, so its
    // contents measure nothing.
    bool enterPackages = true;
    // With enterPackages: a bundle is entered and its contents measured for their bytes, but they
    // count as no items: the bundle is one item of its full size, as the Finder shows it.
    bool packageIsOneItem = false;
    // Links and special files count as items of their own allocated bytes (a link is stat'ed, never
    // followed); otherwise they measure nothing. What a removal takes away, it counts.
    bool countLinks = false;
    // Items met (inside bundles too) before the walk stops.
    std::optional<qint64> itemCap;
    const std::atomic_bool* cancelled = nullptr;
    // Each file and folder (and link, when counted) below the root as it is met (path, name, kind and,
    // but for a folder, its allocated bytes; a folder is told by the listing and not stat'ed). Only items
    // inside a folder that wantsInside accepts (asked once per folder; none: every folder) are passed, and
    // items elsewhere whose name wantsName accepts, so a walk that cares about few items builds no path for
    // the others.
    std::function<void(const Item&)> onCounted;
    std::function<bool(const QString& folder)> wantsInside;
    std::function<bool(QByteArrayView name)> wantsName;
    // The items and bytes counted since the last call, every 1,024 items and at the end.
    std::function<void(qint64 items, qint64 bytes)> onProgress;
};

// A file is one file of its allocated bytes; a folder sums its files at every depth, links never
// followed; a link, a special file or nothing measures nothing. One stat per file (and per link when
// counted), none for a folder the listing names as one (it is opened without following a link instead).
Measurement measure(const QString& path, const MeasureOptions& options = {});
// The same for an item a listing has already stat'ed.
Measurement measure(const Item& root, const MeasureOptions& options = {});
// The same for an item reached without links (ConfinedPath): a folder is measured through its open
// parent, so a link swapped in above it after it was reached is not followed.
Measurement measure(const ConfinedPath::Reached& root, const MeasureOptions& options = {});

// A folder's own children in the order the file system lists them, none when it cannot be listed;
// options.maxDepth has no effect.
std::vector<Item> children(const QString& folder, const Options& options = {});

// True for the bundle extensions that are packages, in any letter case.
bool isPackageName(const QString& name);

} // namespace FileWalker
