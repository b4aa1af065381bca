#pragma once

#include "vocabulary/TargetSystem.h"

#include "analysis/AnalysisReport.h"
#include "analysis/StorageWalk.h"
#include "platform/ConfinedPath.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>
#include <variant>

// What takes the space in one folder: one walk of the tree below it (StorageWalk), macOS application
// and framework bundles summed as one item. Every visible child is listed, links and special files as
// what they are.
namespace LocalAnalysis {

inline constexpr int listLimit = 80;

struct Progress {
    QString folder; // the folder being read
    qint64 items = 0;
    qint64 bytes = 0;
};

struct Options {
    // Called from the walking thread at most about ten times a second.
    std::function<void(const Progress&)> onProgress;
    const std::atomic_bool* cancelled = nullptr;
    // Hidden items and the home folder's personal folders counted too.
    bool countEverything = false;
    // Whose home it is: only macOS asks the user before an application reads the personal folders, so
    // only there are they left out; a Linux desktop's are counted like any other folder.
    TargetSystem system = TargetSystems::built();
};

// Analysing the current user's home folder on macOS leaves out Desktop, Documents, Downloads and the
// cloud drive, and hidden items are left out everywhere, unless everything is counted; the report says what
// was left out.
AnalysisReport snapshot(const QString& rootPath, const Options& options = {});
// The same with the home folder given.
AnalysisReport snapshot(const QString& rootPath, const QString& home, const Options& options = {});
// The same for a folder named by its bytes on disk (one listed by an earlier report, whose name need
// not be UTF-8); the report's path shows them decoded and keeps them in rawPath when it does not
// spell them.
AnalysisReport snapshot(const QByteArray& rootPath, const QString& home, const Options& options = {});

// The walk's options for an analysis with these options of `home` or a folder below it.
StorageWalk::Options walkOptions(const QString& home, const Options& options);
// The report of a walked tree's folder (its root unless told): its children largest first (at most
// 80), its 80 largest files anywhere below (none inside bundles, none under `largeFileFloor` bytes),
// and the totals; sizes are the files' apparent sizes, a hard link's counted once.
AnalysisReport reportOf(const StorageWalk::Result& walked, std::optional<StorageTree::Index> folder = {},
                        qint64 largeFileFloor = 0);
// One item of a tree as a report lists it: its size the apparent bytes of its files.
AnalysisReport::Entry entryOf(const StorageTree& tree, StorageTree::Index index);
// An imported tree as a walk's result, its files counted (those inside bundles are not known).
StorageWalk::Result imported(StorageTree tree);

// An item the report lists, reached by its bytes from the analysed folder without a link on the way,
// provided it is still the item listed (same identity); otherwise why not, in the display language.
// Drilling down and revealing act on that item only.
std::variant<ConfinedPath::Reached, QString> reachListed(const AnalysisReport& report,
                                                         const AnalysisReport::Entry& entry);

} // namespace LocalAnalysis
