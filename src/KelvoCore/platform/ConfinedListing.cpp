#include "platform/ConfinedListing.h"

#include "platform/ConfinedPath.h"
#include "vocabulary/PathText.h"

namespace ConfinedListing {

std::optional<FileWalker::Item> item(const QString& root, const QString& path)
{
    const ConfinedPath::Outcome reached = ConfinedPath::reach(root, path);
    if (!reached.item)
        return std::nullopt;
    // The listing's facts of the very item reached: a swap between the two looks is not taken.
    std::optional<FileWalker::Item> listed = FileWalker::statItem(reached.item->path());
    if (!listed || listed->identity != reached.item->facts().identity)
        return std::nullopt;
    return listed;
}

std::vector<FileWalker::Item> children(const QString& root, const QString& folder)
{
    const QString path = PathText::standardized(folder);
    if (path == PathText::standardized(root))
        return FileWalker::children(path);
    const ConfinedPath::Outcome reached = ConfinedPath::reach(root, path);
    if (!reached.item || !reached.item->facts().isFolder())
        return {};
    std::vector<FileWalker::Item> items;
    FileWalker::Options options;
    options.maxDepth = 1;
    FileWalker::walkOpenFolder(reached.item->openFolder(), reached.item->path(), options,
                               [&](const FileWalker::Item& item) {
                                   items.push_back(item);
                                   return FileWalker::Decision::skipDescendants;
                               });
    return items;
}

} // namespace ConfinedListing
