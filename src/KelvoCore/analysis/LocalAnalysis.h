#pragma once

#include "analysis/AnalysisReport.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>

// What takes the space in one folder: one walk of the tree below it, application and framework
// bundles summed as one item. Every visible child is listed, links and special files as what they are.
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
};

// Analysing the current user's home folder leaves out Desktop, Documents, Downloads and the cloud
// drive, and hidden items are left out everywhere, unless everything is counted; the report says what
// was left out.
AnalysisReport snapshot(const QString& rootPath, const Options& options = {});
// The same with the home folder given.
AnalysisReport snapshot(const QString& rootPath, const QString& home, const Options& options = {});

} // namespace LocalAnalysis
