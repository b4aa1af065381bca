#pragma once

#include "clean/CleanPreviewReport.h"
#include "platform/FileRemover.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

struct LocalCleanResult {
    int removedCount = 0;
    int failedCount = 0;     // what stayed although it was meant to go, whatever the reason
    qint64 removedBytes = 0; // allocated bytes of what was deleted
    std::vector<FileRemover::LeftBehind> left = {}; // why, for the first of the failures

    bool operator==(const LocalCleanResult&) const = default;
};

// The real Smart Clean: deletes the contents of the places of a confirmed preview, and nothing else.
// A place is cleaned only when it is a place of the catalogue inside an allowed root, is not
// protected, is reached from the home folder without a link at any level, and is still the very item
// the preview measured; everything below it is removed relative to open folders (FileRemover), on the
// place's own file system, keeping what the protection list names. A place left for any of these
// reasons (a vanished one aside) counts as failed, with the reason.
namespace LocalCleanExecutor {
// The protection list of the current user's home folder applies.
LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots);
// The protection list of the given home folder applies, and the caches of the browsers running now
// stay even where they lie inside a cleaned location (Chrome's cache inside the user caches).
// Throws KelvoError before anything is removed when the home folder cannot be trusted (empty,
// relative, the root folder) or the protection list exists but cannot be read.
LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots,
                       const QString& home);
// The same with the paths to keep besides the protection list given.
LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots, const QString& home,
                       const QStringList& alsoKeep);
} // namespace LocalCleanExecutor
