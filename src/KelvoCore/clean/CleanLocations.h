#pragma once

#include "vocabulary/TargetSystem.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

// The catalogue of places Smart Clean measures, as paths below the home folder. The catalogue is
// data, so the scanner is the same on every system and tests can run the macOS catalogue anywhere.
struct CleanTarget {
    QString labelZh;
    QString labelEn; // empty label: the entry's note carries no label (browsers)
    QString relativePath;
};

struct CleanBrowser {
    QString name;
    QStringList processNames; // running when any of these is running
    QStringList relativePaths;
};

// Places named by a pattern whose one "*" component stands for any application's folder
// (".config/*/Cache"). Each folder found there is an entry of its own, labelled with the folder's
// name followed by the label given here ("Slack cache").
struct CleanWildcardTarget {
    QString labelZh;
    QString labelEn;
    QString pattern;
};

struct CleanGroup {
    QString titleZh;
    QString titleEn;
    std::vector<CleanTarget> targets;
    std::vector<CleanWildcardTarget> wildcards = {}; // expanded after targets, in name order
};

struct CleanCatalogue {
    CleanGroup userEssentials;
    CleanGroup browsersTitle; // title only; the browsers follow
    std::vector<CleanBrowser> browsers;
    CleanGroup developerTools;
    CleanGroup diagnostics;
    CleanGroup trash;
    // Whether a folder named like a bundle (".app", ".framework", ...) is one here: on macOS it is
    // one item of its full size; elsewhere such a name means nothing and it is a folder like any other.
    bool bundles = false;
};

namespace CleanLocations {
const CleanCatalogue& macOS();
// The same groups where Linux keeps them: each application's folder in the XDG cache (never the
// cache as a whole), Electron applications' caches, the browsers' Linux folders, the freedesktop
// Trash. A place may lie inside another; it is then measured and cleaned as itself only.
const CleanCatalogue& linuxDesktop();
const CleanCatalogue& of(TargetSystem system);
// Every named place of the catalogue, as paths below the home folder (wildcards not expanded).
QStringList relativePaths(const CleanCatalogue& catalogue);
// Whether a path below the home folder is one a wildcard of the catalogue names: "*" stands for
// exactly one component that is a real name (not "", "." or ".."), and never for a browser's own
// folder, whose caches are the browser's entries.
bool matchesWildcard(const CleanCatalogue& catalogue, const QString& relativePath);

// Every place of either catalogue below a home folder, named or matched by a wildcard: nothing else
// is ever cleaned, whatever a report names.
class PlaceSet {
public:
    explicit PlaceSet(const QString& home);
    bool contains(const QString& standardizedPath) const;
    // Whether a catalogue that names outer names inner too: the clean of outer then leaves inner to
    // inner's own entry, as that catalogue's preview measured it apart. A place of the other system's
    // catalogue (~/.npm/_cacache inside ~/.npm on macOS) is just part of outer.
    bool isPlaceBeside(const QString& inner, const QString& outer) const;

private:
    bool names(std::size_t catalogue, const QString& standardizedPath) const;
    QString m_home;
    QSet<QString> m_named[2]; // of the macOS and the Linux catalogue
};
} // namespace CleanLocations
