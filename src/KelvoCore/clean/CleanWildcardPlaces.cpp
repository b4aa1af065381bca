#include "clean/CleanWildcardPlaces.h"

#include "platform/ConfinedPath.h"
#include "platform/FileWalker.h"
#include "vocabulary/PathText.h"

#include <QSet>

#include <algorithm>

namespace CleanWildcardPlaces {

namespace {

// The names of the real folders (no links) directly inside a folder reached from home without a link.
QStringList folderNames(const QString& home, const QString& relativeFolder)
{
    const ConfinedPath::Outcome outcome = ConfinedPath::reach(home, PathText::joined(home, relativeFolder));
    if (!outcome.item || !outcome.item->facts().isFolder())
        return {};
    FileWalker::Options options;
    options.maxDepth = 1;
    options.namesOnly = true; // the listing tells a folder from a link
    QStringList names;
    FileWalker::walkOpenFolder(outcome.item->openFolder(), outcome.item->path(), options,
                               [&](const FileWalker::Item& item) {
                                   if (item.kind == FileWalker::Kind::folder)
                                       names.append(item.name);
                                   return FileWalker::Decision::skipDescendants;
                               });
    return names;
}

bool isRealFolder(const QString& home, const QString& relativePath)
{
    const ConfinedPath::Outcome outcome = ConfinedPath::reach(home, PathText::joined(home, relativePath));
    return outcome.item && outcome.item->facts().isFolder();
}

void expand(CleanGroup& group, const CleanCatalogue& catalogue, const QString& home,
            const QSet<QString>& named, QHash<QString, QStringList>& listed)
{
    struct Found {
        QString name;
        CleanTarget target;
    };
    std::vector<Found> found;
    for (const CleanWildcardTarget& wildcard : group.wildcards) {
        const qsizetype star = wildcard.pattern.indexOf(QLatin1Char('*'));
        const QString parent = wildcard.pattern.left(star - 1);
        if (!listed.contains(parent))
            listed.insert(parent, folderNames(home, parent));
        for (const QString& name : listed.value(parent)) {
            const QString relativePath = QString(wildcard.pattern).replace(star, 1, name);
            if (!named.contains(relativePath) && CleanLocations::matchesWildcard(catalogue, relativePath) &&
                isRealFolder(home, relativePath))
                found.push_back({name,
                                 {name + QLatin1Char(' ') + wildcard.labelZh,
                                  name + QLatin1Char(' ') + wildcard.labelEn, relativePath}});
        }
    }
    // An application's caches stand together, in the order of the wildcards.
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.name < b.name; });
    for (Found& place : found)
        group.targets.push_back(std::move(place.target));
}

} // namespace

CleanCatalogue expanded(const CleanCatalogue& catalogue, const QString& home)
{
    CleanCatalogue result = catalogue;
    const QStringList namedPaths = CleanLocations::relativePaths(catalogue);
    const QSet<QString> named(namedPaths.begin(), namedPaths.end());
    QHash<QString, QStringList> listed; // each parent folder is listed once for all its wildcards
    for (CleanGroup* group :
         {&result.userEssentials, &result.developerTools, &result.diagnostics, &result.trash})
        expand(*group, catalogue, home, named, listed);
    return result;
}

} // namespace CleanWildcardPlaces
