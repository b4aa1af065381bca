#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>
#include <optional>

// The one tree walker every scanner uses: one stat per item, symbolic links never followed.
namespace FileWalker {

enum class Kind { file, folder, link, other };

struct Item {
    QString path;
    QString name;
    Kind kind = Kind::other;
    qint64 allocatedBytes = 0; // blocks on disk, the size the user gets back
    qint64 logicalBytes = 0;
    qint64 accessTime = 0; // seconds since 1970
    int depth = 0;         // 1 for the root's own children
};

enum class Decision { proceed, skipDescendants, stop };

struct Options {
    bool includeHidden = true;
    bool enterPackages = true; // false: bundles (".app", ".framework", ...) are listed, not entered
    int maxDepth = -1;         // -1: no limit; 1: the root's children only
    qint64 itemCap = -1;       // -1: no limit; the walk stops after this many items
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

// One item's own facts, without following a link; none when nothing is there.
std::optional<Item> statItem(const QString& path);

// True for the bundle extensions that are packages, in any letter case.
bool isPackageName(const QString& name);

} // namespace FileWalker
