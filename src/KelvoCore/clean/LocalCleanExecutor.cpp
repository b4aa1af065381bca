#include "clean/LocalCleanExecutor.h"

#include "clean/CleanLocations.h"
#include "clean/CleanWhitelistMatcher.h"
#include "clean/CleanWhitelistStore.h"
#include "clean/LocalCleanPreview.h"
#include "platform/ConfinedPath.h"
#include "platform/FileErrorText.h"
#include "platform/HomeFolder.h"
#include "platform/RunningProcesses.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/PathText.h"

#include <QDir>

namespace LocalCleanExecutor {

namespace {

[[noreturn]] void stop(KelvoError::Kind kind, const QString& why)
{
    throw KelvoError(
        kind, AppLocalization::localized(QStringLiteral("智能清理在删除任何内容之前停止了：%1"),
                                         QStringLiteral("Smart Clean stopped before removing anything. %1"))
                  .arg(why));
}

void add(LocalCleanResult& result, const FileRemover::Tally& tally)
{
    result.removedCount += tally.removed;
    result.failedCount += tally.failed;
    result.removedBytes = ByteCount::saturatingAdd(result.removedBytes, tally.bytes);
    for (const FileRemover::LeftBehind& item : tally.left)
        if (qsizetype(result.left.size()) < FileRemover::maxReported)
            result.left.push_back(item);
}

void leave(LocalCleanResult& result, const QString& path, const QString& reason)
{
    FileRemover::Tally tally;
    tally.leave(path, reason);
    add(result, tally);
}

// One place of the preview, cleaned if everything about it is still as the preview saw it.
void cleanPlace(const CleanPreviewReport::Entry& entry, const QString& path, const QString& home,
                const CleanWhitelistMatcher::List& protection, const CleanLocations::PlaceSet& places,
                LocalCleanResult& result)
{
    const ConfinedPath::Outcome outcome = ConfinedPath::reach(home, path);
    if (!outcome.item) {
        if (outcome.failure != ConfinedPath::Failure::missing) // vanished since the preview: nothing to do
            leave(result, path, ConfinedPath::describe(outcome, path));
        return;
    }
    const ConfinedPath::Reached& place = *outcome.item;
    if (place.facts().isLink()) {
        leave(result, path, FileErrorText::linkOnTheWay(path, path));
        return;
    }
    if (!entry.identity || place.facts().identity != *entry.identity) {
        leave(result, path, FileErrorText::changedSinceScan(path));
        return;
    }
    // A place inside this one is its own entry: it is cleaned once, by that entry, or kept.
    const FileRemover::KeepTest keep = [&protection, &places, &path](const QString& item) {
        return (item != path && places.isPlaceBeside(item, path)) || protection.protectsStandardized(item);
    };
    add(result, place.facts().isFolder() ? FileRemover::removeContents(place, keep)
                                         : FileRemover::removeItem(place, keep));
}

} // namespace

LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots)
{
    return clean(report, allowedRoots, HomeFolder::current());
}

LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots, const QString& home)
{
    return clean(report, allowedRoots, home,
                 LocalCleanPreview::runningBrowserPaths(home, CleanLocations::of(TargetSystems::built()),
                                                        RunningProcesses::names()));
}

LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& allowedRoots, const QString& home,
                       const QStringList& alsoKeep)
{
    if (const std::optional<QString> problem = HomeFolder::problem(home))
        stop(KelvoError::Kind::unusableHome, *problem);
    QStringList patterns;
    try {
        // Only a missing list means the defaults; a list that cannot be read protects what it
        // protects only if it is read, so nothing is removed without it.
        patterns = CleanWhitelistStore::load(home).patterns;
    } catch (const KelvoError& error) {
        stop(error.kind(), error.description());
    }
    QStringList roots;
    for (const QString& root : allowedRoots)
        roots.append(PathText::standardized(root));
    const QString homeText = PathText::standardized(home);
    // Paths to keep are plain entries: each protects itself and everything below it.
    const CleanWhitelistMatcher::List protection(patterns + alsoKeep, homeText);

    const CleanLocations::PlaceSet places(homeText);
    LocalCleanResult result;
    for (const CleanPreviewReport::Entry& entry : report.entries) {
        if (entry.status != CleanPreviewReport::EntryStatus::cleanable)
            continue;
        const QString path = PathText::standardized(entry.path);
        // A report names places; only the catalogue's own places inside the allowed roots are ever
        // cleaned, whatever else it names.
        if (!QDir::isAbsolutePath(path) || !PathText::isAtOrBelowAny(path, roots) || !places.contains(path) ||
            protection.isProtected(path))
            continue;
        cleanPlace(entry, path, homeText, protection, places, result);
    }
    return result;
}

} // namespace LocalCleanExecutor
