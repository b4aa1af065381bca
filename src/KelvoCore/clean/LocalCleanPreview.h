#pragma once

#include "clean/CleanLocations.h"
#include "clean/CleanPreviewReport.h"
#include "clean/CleanWhitelistMatcher.h"

#include <QSet>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>
#include <optional>

// The Smart Clean scanner: measures every known cache, log, browser, developer, diagnostics and
// Trash location below the home folder, all places at once. It never deletes; it asks the protection
// list only to say how much of each place the clean will keep.
namespace LocalCleanPreview {

struct Progress {
    QString location; // the location being measured
    qint64 itemsMeasured = 0;
    qint64 bytesMeasured = 0;
};

struct Options {
    // The protection list the clean will apply: the bytes it keeps are measured in the same walk.
    // None: nothing counts as protected.
    std::optional<CleanWhitelistMatcher::List> protection;
    // Called from the scanning thread, at most every tenth of a second and once per location.
    std::function<void(const Progress&)> onProgress;
    const std::atomic_bool* cancelled = nullptr;
    // Whose catalogue the snapshot measures and whose bundle rule a summary follows.
    TargetSystem system = TargetSystems::built();
};

// The catalogue of the options' system, the processes running now and, unless options name one, the
// user's protection list.
CleanPreviewReport snapshot(const QString& home, const Options& options = {});
CleanPreviewReport snapshot(const QString& home, const CleanCatalogue& catalogue,
                            const QSet<QString>& runningProcesses, const Options& options = {});

// (bytes, items) of a location: files, folders, links and special files counted (a link as itself,
// never followed), at most itemCap items; a single file counts as one item of its allocated size. A
// bundle-named folder is measured like any other folder, except in a catalogue that has bundles,
// where it is one item of its full size.
struct Summary {
    qint64 bytes = 0;
    qint64 items = 0;
    qint64 protectedBytes = 0; // of bytes, what the protection list keeps
    qint64 itemsToRemove = 0;  // files, links and special files the protection list does not keep
};
inline constexpr qint64 itemCap = 20000;
// As the options' system's catalogue measures.
Summary directorySummary(const QString& path, const Options& options = {});

// The cache paths of the catalogue's browsers that are running, whether they exist or not.
QStringList runningBrowserPaths(const QString& home, const CleanCatalogue& catalogue,
                                const QSet<QString>& runningProcesses);

// "1.2 MB, 30 items" / "1.2 MB, 30 项".
LocalText noteText(qint64 bytes, qint64 items);
// The byte count a note's size text stands for, in binary multiples; none without a size.
std::optional<qint64> byteCount(const std::optional<LocalText>& note);

} // namespace LocalCleanPreview
