#pragma once

#include "clean/CleanPreviewReport.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

struct LocalCleanResult {
    int removedCount = 0;
    int failedCount = 0;
    qint64 removedBytes = 0; // allocated bytes of what was deleted

    bool operator==(const LocalCleanResult&) const = default;
};

// The real Smart Clean: deletes the contents of every cleanable location of a confirmed preview,
// re-checking each path against the allowed roots and the protection list just before removal.
namespace LocalCleanExecutor {
// The protection list of the current user's home folder applies.
LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots);
// The protection list of the given home folder applies, and the caches of the browsers running now
// stay even where they lie inside a cleaned location (Chrome's cache inside the user caches).
LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots,
                       const QString& home);
// The same with the paths to keep besides the protection list given.
LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots, const QString& home,
                       const QStringList& alsoKeep);
} // namespace LocalCleanExecutor
