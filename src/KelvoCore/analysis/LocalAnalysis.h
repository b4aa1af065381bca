#pragma once

#include "analysis/AnalysisReport.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>

// What takes the space in one folder: one walk of the tree below it, hidden items left out,
// application and framework bundles summed as one item.
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
};

// Analysing the current user's home folder leaves out Desktop, Documents, Downloads and the cloud
// drive.
AnalysisReport snapshot(const QString& rootPath, const Options& options = {});
// The same with the home folder given.
AnalysisReport snapshot(const QString& rootPath, const QString& home, const Options& options = {});

} // namespace LocalAnalysis
