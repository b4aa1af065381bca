#include "purge/LocalPurgePreview.h"

#include "platform/FileWalker.h"
#include "platform/PathText.h"

#include <QElapsedTimer>
#include <QSet>

namespace LocalPurgePreview {

namespace {

struct Summary {
    qint64 bytes = 0;
    qint64 files = 0;
    qint64 directories = 0;
};

Summary directorySummary(const QString& path, const Options& limits)
{
    Summary summary;
    FileWalker::Options options;
    options.enterPackages = false;
    options.cancelled = limits.cancelled;
    FileWalker::walk(path, options, [&](const FileWalker::Item& item) {
        if (item.kind == FileWalker::Kind::file) {
            ++summary.files;
            summary.bytes += item.allocatedBytes;
        } else if (item.kind == FileWalker::Kind::folder) {
            ++summary.directories;
        }
        // A huge dependency tree is measured as far as the cap: a lower bound.
        return summary.files + summary.directories >= limits.measureCap ? FileWalker::Decision::stop
                                                                        : FileWalker::Decision::proceed;
    });
    return summary;
}

} // namespace

const QStringList& targetDirectoryNames()
{
    static const QStringList names{"node_modules",  "bower_components",
                                   "target",        "build",
                                   ".build",        "dist",
                                   "out",           ".cache",
                                   "venv",          ".venv",
                                   "env",           ".env",
                                   ".pytest_cache", ".mypy_cache",
                                   ".tox",          ".nox",
                                   ".ruff_cache",   ".pytype",
                                   ".coverage",     ".gradle",
                                   ".kotlin",       "__pycache__",
                                   ".next",         ".nuxt",
                                   ".output",       "vendor",
                                   "bin",           "obj",
                                   ".turbo",        ".parcel-cache",
                                   ".vite",         ".webpack",
                                   ".rollup.cache", ".dart_tool",
                                   "build-cache",   ".zig-cache",
                                   "zig-out",       ".angular",
                                   ".svelte-kit",   ".astro",
                                   "coverage",      "DerivedData",
                                   ".swiftpm",      "Pods",
                                   "Carthage",      ".cxx",
                                   ".expo",         ".expo-shared",
                                   ".serverless",   ".terraform",
                                   ".vscode-test"};
    return names;
}

const QStringList& targetSuffixes()
{
    static const QStringList suffixes{QStringLiteral(".idea/system")};
    return suffixes;
}

std::optional<QString> targetName(const QString& folderPath)
{
    static const QSet<QString> names(targetDirectoryNames().begin(), targetDirectoryNames().end());
    const QString name = folderPath.mid(folderPath.lastIndexOf(QLatin1Char('/')) + 1);
    if (names.contains(name))
        return name;
    for (const QString& suffix : targetSuffixes())
        if (folderPath.endsWith(QLatin1Char('/') + suffix))
            return suffix;
    return std::nullopt;
}

PurgePreviewReport snapshot(const QString& rootPath, int maxDepth, const Options& options)
{
    const QString root = PathText::standardized(rootPath);
    std::vector<PurgePreviewReport::Entry> entries;
    Progress progress;
    QElapsedTimer clock;
    clock.start();

    FileWalker::Options walk;
    walk.enterPackages = false;
    walk.maxDepth = maxDepth;
    walk.cancelled = options.cancelled;
    FileWalker::walk(root, walk, [&](const FileWalker::Item& item) {
        if (item.kind != FileWalker::Kind::folder)
            return FileWalker::Decision::proceed;
        ++progress.foldersSeen;
        if (options.onProgress && clock.elapsed() >= 100) {
            clock.restart();
            progress.folder = item.path;
            options.onProgress(progress);
        }
        const std::optional<QString> target = targetName(item.path);
        if (!target)
            return FileWalker::Decision::proceed;
        const Summary summary = directorySummary(item.path, options);
        entries.push_back({QUuid::createUuid(), *target, item.path, *target, summary.bytes, summary.files,
                           summary.directories});
        ++progress.artefactsFound;
        progress.bytesFound += summary.bytes;
        // An artefact is never searched for further artefacts.
        return FileWalker::Decision::skipDescendants;
    });
    return PurgePreviewReport(rootPath, std::move(entries), QDateTime::currentDateTimeUtc());
}

} // namespace LocalPurgePreview
