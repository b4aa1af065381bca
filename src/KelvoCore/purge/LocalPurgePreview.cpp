#include "purge/LocalPurgePreview.h"

#include "platform/FileWalker.h"
#include "platform/PathText.h"
#include "vocabulary/StableId.h"

#include <QElapsedTimer>
#include <QSet>

namespace LocalPurgePreview {

const std::vector<Target>& targets()
{
    using E = PurgeEcosystem;
    // Generic names (build, dist, out, bin, obj, vendor, coverage, .cache) could be any ecosystem's.
    static const std::vector<Target> table{
        {"node_modules", E::javaScript},
        {"bower_components", E::javaScript},
        {"target", E::systems},
        {"build", E::other},
        {".build", E::apple},
        {"dist", E::other},
        {"out", E::other},
        {".cache", E::other},
        {"venv", E::python},
        {".venv", E::python},
        {"env", E::python},
        {".env", E::python},
        {".pytest_cache", E::python},
        {".mypy_cache", E::python},
        {".tox", E::python},
        {".nox", E::python},
        {".ruff_cache", E::python},
        {".pytype", E::python},
        {".coverage", E::python},
        {".gradle", E::android},
        {".kotlin", E::android},
        {"__pycache__", E::python},
        {".next", E::javaScript},
        {".nuxt", E::javaScript},
        {".output", E::javaScript},
        {"vendor", E::other},
        {"bin", E::other},
        {"obj", E::other},
        {".turbo", E::javaScript},
        {".parcel-cache", E::javaScript},
        {".vite", E::javaScript},
        {".webpack", E::javaScript},
        {".rollup.cache", E::javaScript},
        {".dart_tool", E::android},
        {"build-cache", E::other},
        {".zig-cache", E::systems},
        {"zig-out", E::systems},
        {".angular", E::javaScript},
        {".svelte-kit", E::javaScript},
        {".astro", E::javaScript},
        {"coverage", E::other},
        {"DerivedData", E::apple},
        {".swiftpm", E::apple},
        {"Pods", E::apple},
        {"Carthage", E::apple},
        {".cxx", E::android},
        {".expo", E::javaScript},
        {".expo-shared", E::javaScript},
        {".serverless", E::javaScript},
        {".terraform", E::other},
        {".vscode-test", E::other},
    };
    return table;
}

const QStringList& targetDirectoryNames()
{
    static const QStringList names = [] {
        QStringList all;
        for (const Target& target : targets())
            all << target.name;
        return all;
    }();
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
        // A huge dependency tree is measured as far as the cap: a lower bound.
        FileWalker::MeasureOptions measure;
        measure.enterPackages = false;
        measure.itemCap = options.measureCap;
        measure.cancelled = options.cancelled;
        const FileWalker::Measurement found = FileWalker::measure(item, measure);
        entries.push_back({StableId::of(item.path), *target, item.path, *target, found.allocatedBytes,
                           found.files, found.folders, item.identity});
        ++progress.artefactsFound;
        progress.bytesFound += found.allocatedBytes;
        // An artefact is never searched for further artefacts.
        return FileWalker::Decision::skipDescendants;
    });
    return PurgePreviewReport(rootPath, std::move(entries), QDateTime::currentDateTimeUtc());
}

} // namespace LocalPurgePreview
