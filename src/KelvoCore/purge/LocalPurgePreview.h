#pragma once

#include "purge/PurgeEcosystem.h"
#include "purge/PurgePreviewReport.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

// Finds build artefacts (dependency and build folders, tool caches) below a project folder by name.
namespace LocalPurgePreview {

struct Target {
    QString name; // a folder's name
    PurgeEcosystem ecosystem;
};
// Every folder name searched for, with the ecosystem it belongs to.
const std::vector<Target>& targets();
// The names of targets(), in the same order.
const QStringList& targetDirectoryNames();
// Targets of more than one component, as path suffixes: ".idea/system".
const QStringList& targetSuffixes();

inline constexpr int defaultMaxDepth = 6;

struct Progress {
    QString folder;
    qint64 foldersSeen = 0;
    qint64 artefactsFound = 0;
    qint64 bytesFound = 0;
};

struct Options {
    std::function<void(const Progress&)> onProgress; // from the walking thread, about ten times a second
    const std::atomic_bool* cancelled = nullptr;
    // Files plus folders measured per artefact, so that a huge dependency tree cannot stall the scan.
    qint64 measureCap = 50000;
    // The user's home folder: the tools' own homes directly below it (~/.gradle, ~/.cache, ~/.cargo)
    // are not projects and are neither listed nor searched. Empty: no home within the scan.
    QString home;
};

// The folders directly below the home folder that belong to a tool (caches, package stores, SDKs,
// settings), by name.
const QStringList& toolHomeNames();

PurgePreviewReport snapshot(const QString& rootPath, int maxDepth = defaultMaxDepth,
                            const Options& options = {});

// The target a folder path matches, if any.
std::optional<QString> targetName(const QString& folderPath);

} // namespace LocalPurgePreview
