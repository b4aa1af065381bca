#pragma once

#include "analysis/AnalysisReport.h"
#include "analysis/StorageTree.h"
#include "vocabulary/TargetSystem.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>

// One walk of everything below a folder into a StorageTree, on every core. Links are never
// followed; special files and links weigh nothing; a folder that cannot be listed is marked; a folder
// on another file system is marked and not entered; an application or framework bundle is one
// item of its whole size, as the Finder shows it. One stat per item.
namespace StorageWalk {

struct Progress {
    QString folder; // a folder being read
    qint64 files = 0;
    qint64 bytes = 0; // the files' apparent sizes
};

struct Options {
    // Called from a walking thread at most about ten times a second.
    std::function<void(const Progress&)> onProgress;
    const std::atomic_bool* cancelled = nullptr;
    // Hidden items (and, in a Mac home, the folders macOS asks permission for) are left out unless
    // everything is counted; the result says what was left out.
    bool countEverything = false;
    TargetSystem system = TargetSystems::built();
    QString home; // whose personal folders are left out on macOS
    std::size_t mostItems = StorageTree::mostItems;
    int threads = 0; // 0: one per core
};

struct Result {
    StorageTree tree; // finished; empty when the folder could not be opened
    AnalysisReport::LeftOut leftOut;
    qint64 files = 0;       // regular files, those inside bundles included
    bool capped = false;    // stopped at mostItems: what was not reached is missing
    bool cancelled = false; // stopped by a cancel
};

Result walk(const QByteArray& folder, const Options& options = {});

} // namespace StorageWalk
