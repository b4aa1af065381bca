#pragma once

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

struct CleanGroup {
    QString titleZh;
    QString titleEn;
    std::vector<CleanTarget> targets;
};

struct CleanCatalogue {
    CleanGroup userEssentials;
    CleanGroup browsersTitle; // title only; the browsers follow
    std::vector<CleanBrowser> browsers;
    CleanGroup developerTools;
    CleanGroup diagnostics;
    CleanGroup trash;
};

namespace CleanLocations {
const CleanCatalogue& macOS();
// The same groups where Linux keeps them: each application's folder in the XDG cache (never the
// cache as a whole), Electron applications' caches, the browsers' Linux folders, the freedesktop
// Trash. A place may lie inside another; it is then measured and cleaned as itself only.
const CleanCatalogue& linuxDesktop();
const CleanCatalogue& forThisSystem();
// Every place of the catalogue, as paths below the home folder.
QStringList relativePaths(const CleanCatalogue& catalogue);
// Every place of either catalogue, as full paths below home: nothing else is ever cleaned, whatever
// a report names.
QSet<QString> places(const QString& home);
} // namespace CleanLocations
