#include "clean/LocalCleanExecutor.h"

#include "clean/CleanWhitelistMatcher.h"
#include "clean/CleanWhitelistStore.h"
#include "clean/LocalCleanPreview.h"
#include "platform/FileRemover.h"
#include "platform/FileWalker.h"
#include "platform/HomeFolder.h"
#include "platform/PathText.h"
#include "platform/RunningProcesses.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFile>

#include <limits>

#include <unistd.h>

namespace LocalCleanExecutor {

namespace {

QStringList protectionPatterns(const QString& home)
{
    try {
        return CleanWhitelistStore::load(home).patterns;
    } catch (const KelvoError&) {
        // An unreadable list never turns protection off.
        return CleanWhitelistStore::defaultPatterns();
    }
}

// The children of a folder (hidden ones included), or the item itself when it is not a folder.
// A link standing at the location is not a folder: it is removed as itself, never followed.
QStringList removalTargets(const QString& path, FileWalker::Kind kind)
{
    if (kind != FileWalker::Kind::folder)
        return {path};
    QStringList targets;
    for (const FileWalker::Item& child : FileWalker::children(path))
        targets.append(child.path);
    return targets;
}

void add(LocalCleanResult& result, const FileRemover::Outcome& outcome)
{
    if (!outcome.removed) {
        ++result.failedCount;
        return;
    }
    ++result.removedCount;
    result.removedBytes = ByteCount::saturatingAdd(result.removedBytes, outcome.countedBytes);
}

// Removes one target unless it is protected. A folder holding a protected path is not removed whole:
// its children are handled one by one, so the protected path and the folders around it stay.
void removeTarget(const QString& target, const CleanWhitelistMatcher::List& protection,
                  LocalCleanResult& result)
{
    const QString path = PathText::standardized(target);
    if (protection.isProtected(path))
        return;
    const std::optional<FileWalker::Item> item = FileWalker::statItem(path);
    if (!item)
        return; // vanished meanwhile
    if (item->kind == FileWalker::Kind::folder && protection.protectsSomethingBelow(path)) {
        for (const QString& child : removalTargets(path, item->kind))
            removeTarget(child, protection, result);
        // When nothing protected was inside after all, the emptied folder goes too: rmdir never
        // removes a folder that still holds something.
        ::rmdir(QFile::encodeName(path).constData());
        return;
    }
    add(result, FileRemover::removeItem(path));
}

} // namespace

LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots)
{
    return clean(report, allowedRoots, HomeFolder::current());
}

LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots, const QString& home)
{
    return clean(report, allowedRoots, home,
                 LocalCleanPreview::runningBrowserPaths(home, CleanLocations::forThisSystem(),
                                                        RunningProcesses::names()));
}

LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots, const QString& home,
                       const QStringList& alsoKeep)
{
    QStringList roots;
    for (const QString& root : allowedRoots)
        roots.append(PathText::standardized(root));
    // Paths to keep are plain entries: each protects itself and everything below it.
    const CleanWhitelistMatcher::List protection(protectionPatterns(home) + alsoKeep, home);

    LocalCleanResult result;
    for (const CleanPreviewReport::Entry& entry : report.entries) {
        if (entry.status != CleanPreviewReport::EntryStatus::cleanable)
            continue;
        const QString path = PathText::standardized(entry.path);
        if (!QDir::isAbsolutePath(path) || !PathText::isAtOrBelowAny(path, roots))
            continue;
        if (protection.isProtected(path))
            continue;
        const std::optional<FileWalker::Item> location = FileWalker::statItem(path);
        // Vanished since the preview, or a link standing in for the location: neither the link nor
        // what it points to is touched.
        if (!location || location->kind == FileWalker::Kind::link)
            continue;
        for (const QString& target : removalTargets(path, location->kind))
            removeTarget(target, protection, result);
    }
    return result;
}

} // namespace LocalCleanExecutor
