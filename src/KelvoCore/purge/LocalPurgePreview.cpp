#include "purge/LocalPurgePreview.h"

#include "platform/FileWalker.h"
#include "platform/RemovalPolicy.h"
#include "purge/ProjectFiles.h"
#include "vocabulary/PathText.h"
#include "vocabulary/StableId.h"

#include <QElapsedTimer>
#include <QSet>

namespace LocalPurgePreview {

const std::vector<Target>& targets()
{
    using E = PurgeEcosystem;
    // Names several ecosystems use (target, build, dist, out, bin, obj, vendor, coverage, .cache) are
    // `other`: the project files around such a folder tell whose it is.
    static const std::vector<Target> table{
        {"node_modules", E::javaScript},
        {"bower_components", E::javaScript},
        {"target", E::other},
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

const QStringList& toolHomeNames()
{
    static const QStringList names{
        ".gradle",    ".cache",   ".npm",        ".cargo",      ".m2",          ".rustup",  ".nuget",
        ".pub-cache", ".yarn",    ".pnpm-store", ".bun",        ".deno",        ".conda",   ".pyenv",
        ".nvm",       ".sdkman",  ".gem",        ".cocoapods",  ".dotnet",      ".android", ".kotlin",
        ".konan",     ".swiftpm", ".expo",       ".serverless", ".terraform.d", ".vscode",  ".vscode-server",
        ".local",     ".config",  "go",
    };
    return names;
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
    const QString home = options.home.isEmpty() ? QString() : PathText::standardized(options.home);
    static const QSet<QString> toolHomes(toolHomeNames().begin(), toolHomeNames().end());
    const auto isToolHome = [&](const QString& path) {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        return !home.isEmpty() && QStringView(path).left(slash) == home &&
               toolHomes.contains(path.mid(slash + 1));
    };
    // ~/bin is named like a build folder, but it is the user's programs: a shared folder is no artefact.
    const std::optional<RemovalPolicy::SharedFolders> shared =
        home.isEmpty() ? std::nullopt : std::optional<RemovalPolicy::SharedFolders>(home);
    ProjectFileFinder projects(root);
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
        if (isToolHome(item.path))
            return FileWalker::Decision::skipDescendants;
        const std::optional<QString> target = targetName(item.path);
        if (!target || (shared && shared->isShared(item.path)))
            return FileWalker::Decision::proceed;
        // A huge dependency tree is measured as far as the cap: a lower bound.
        FileWalker::MeasureOptions measure;
        measure.enterPackages = false;
        measure.itemCap = options.measureCap;
        measure.cancelled = options.cancelled;
        const FileWalker::Measurement found = FileWalker::measure(item, measure);
        const std::optional<ProjectFile> project = projects.nearest(item.path);
        PurgeEcosystem ecosystem = PurgeEcosystems::of(*target);
        if (ecosystem == PurgeEcosystem::other && project)
            ecosystem = project->ecosystem;
        entries.push_back({StableId::of(item.path), *target, item.path, *target, found.allocatedBytes,
                           found.files, found.folders, item.identity, ecosystem,
                           project ? project->name : QString()});
        ++progress.artefactsFound;
        progress.bytesFound += found.allocatedBytes;
        // An artefact is never searched for further artefacts.
        return FileWalker::Decision::skipDescendants;
    });
    return PurgePreviewReport(rootPath, std::move(entries), QDateTime::currentDateTimeUtc());
}

} // namespace LocalPurgePreview
