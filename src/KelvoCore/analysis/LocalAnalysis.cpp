#include "analysis/LocalAnalysis.h"

#include "analysis/StorageViews.h"
#include "analysis/StorageWalk.h"
#include "platform/FileErrorText.h"
#include "platform/FileWalker.h"
#include "platform/HomeFolder.h"
#include "vocabulary/LargestFirst.h"
#include "vocabulary/PathText.h"

#include <QFile>

#include <algorithm>
#include <sys/stat.h>

namespace LocalAnalysis {

namespace {

using Entry = AnalysisReport::Entry;
using Index = StorageTree::Index;

// The bytes of a listed item, kept only when its decoded path does not spell them.
std::optional<QByteArray> rawPathOf(const QByteArray& bytes)
{
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes ? std::nullopt : std::optional(bytes);
}

AnalysisReport::Kind entryKind(const StorageTree::Node& node, const QByteArray& path, bool imported)
{
    switch (node.kind) {
    case StorageTree::Kind::file:
        return AnalysisReport::Kind::file;
    case StorageTree::Kind::folder:
    case StorageTree::Kind::package:
        return node.has(StorageTree::unreadable) ? AnalysisReport::Kind::unreadableFolder
                                                 : AnalysisReport::Kind::folder;
    case StorageTree::Kind::link: {
        if (imported) // where it leads was on the machine that made the scan
            return AnalysisReport::Kind::link;
        struct stat target {};
        return ::stat(path.constData(), &target) == 0 ? AnalysisReport::Kind::link
                                                      : AnalysisReport::Kind::danglingLink;
    }
    case StorageTree::Kind::special:
        break;
    }
    return AnalysisReport::Kind::special;
}

} // namespace

AnalysisReport::Entry entryOf(const StorageTree& tree, StorageTree::Index index)
{
    const StorageTree::Node& node = tree.node(index);
    const QByteArray path = tree.path(index);
    return {QFile::decodeName(tree.name(index).toByteArray()),
            QFile::decodeName(path),
            node.apparent,
            node.kind == StorageTree::Kind::folder || node.kind == StorageTree::Kind::package,
            FileIdentity{tree.origin.device, node.inode},
            entryKind(node, path, tree.origin.imported),
            rawPathOf(path)};
}

AnalysisReport reportOf(const StorageWalk::Result& walked, std::optional<StorageTree::Index> below,
                        qint64 largeFileFloor)
{
    const StorageTree& tree = walked.tree;
    const Index folder = below.value_or(tree.root());
    AnalysisReport report;
    report.path = QFile::decodeName(tree.origin.rootPath);
    report.overview = false;
    report.totalSize = 0;
    report.totalFiles = 0;
    if (folder == StorageTree::none || folder >= tree.size())
        return report;
    const QByteArray path = tree.path(folder);
    report.path = QFile::decodeName(path);
    report.rawPath = rawPathOf(path);
    report.leftOut = walked.leftOut;
    report.totalSize = tree.node(folder).apparent;
    // The walk counted the files inside bundles too; below the root only the tree's own are known.
    report.totalFiles = folder == tree.root() ? walked.files : StorageViews::filesBelow(tree, folder);
    std::vector<Entry> topLevel;
    for (const Index child : tree.children(folder))
        topLevel.push_back(entryOf(tree, child));
    LargestFirst::sort(
        topLevel, [](const Entry& entry) { return entry.size.value_or(0); },
        [](const Entry& entry) -> const QString& { return *entry.name; });
    if (topLevel.size() > std::size_t(listLimit))
        topLevel.resize(listLimit);
    report.entries = std::move(topLevel);
    for (const Index file : StorageViews::largestFiles(tree, folder, largeFileFloor, listLimit))
        report.largeFiles.push_back(entryOf(tree, file));
    return report;
}

StorageWalk::Result imported(StorageTree tree)
{
    StorageWalk::Result result;
    result.files = StorageViews::filesBelow(tree, tree.root());
    result.tree = std::move(tree);
    return result;
}

AnalysisReport snapshot(const QString& rootPath, const Options& options)
{
    return snapshot(rootPath, HomeFolder::current(), options);
}

AnalysisReport snapshot(const QString& rootPath, const QString& home, const Options& options)
{
    AnalysisReport report = snapshot(QFile::encodeName(rootPath), home, options);
    report.path = rootPath;
    return report;
}

StorageWalk::Options walkOptions(const QString& home, const Options& options)
{
    StorageWalk::Options walk;
    if (options.onProgress)
        walk.onProgress = [&options](const StorageWalk::Progress& progress) {
            options.onProgress({progress.folder, progress.files, progress.bytes});
        };
    walk.cancelled = options.cancelled;
    walk.countEverything = options.countEverything;
    walk.system = options.system;
    walk.home = home;
    return walk;
}

AnalysisReport snapshot(const QByteArray& rootPath, const QString& home, const Options& options)
{
    AnalysisReport report = reportOf(StorageWalk::walk(rootPath, walkOptions(home, options)));
    report.path = QFile::decodeName(rootPath);
    report.rawPath = QFile::encodeName(*report.path) == rootPath ? std::nullopt : std::optional(rootPath);
    return report;
}

std::variant<ConfinedPath::Reached, QString> reachListed(const AnalysisReport& report, const Entry& entry)
{
    const QByteArray path = entry.bytes();
    ConfinedPath::Outcome outcome = ConfinedPath::reach(report.bytes(), path);
    if (!outcome.item)
        return ConfinedPath::describe(outcome, PathText::shown(path));
    if (!entry.identity || outcome.item->facts().identity != *entry.identity)
        return FileErrorText::changedSinceScan(PathText::shown(path));
    return std::move(*outcome.item);
}

} // namespace LocalAnalysis
