#include "analysis/LocalAnalysis.h"

#include "analysis/StorageWalk.h"
#include "platform/FileErrorText.h"
#include "platform/FileWalker.h"
#include "platform/HomeFolder.h"
#include "vocabulary/LargestFirst.h"
#include "vocabulary/PathText.h"

#include <QFile>

#include <algorithm>
#include <queue>
#include <sys/stat.h>

namespace LocalAnalysis {

namespace {

using Entry = AnalysisReport::Entry;
using Index = StorageTree::Index;

// The largest files seen so far, never more than the list holds. Equal sizes keep the walk order,
// given as a sequence number.
class LargestFiles {
public:
    struct Candidate {
        qint64 size;
        quint64 sequence;
        StorageTree::Index index;
    };

    void offer(Candidate candidate)
    {
        if (m_heap.size() < std::size_t(listLimit)) {
            m_heap.push(std::move(candidate));
        } else if (ranksBelow(m_heap.top(), candidate)) {
            m_heap.pop();
            m_heap.push(std::move(candidate));
        }
    }

    // Empties the selection, largest first.
    std::vector<Candidate> take()
    {
        std::vector<Candidate> all;
        for (; !m_heap.empty(); m_heap.pop())
            all.push_back(m_heap.top());
        std::reverse(all.begin(), all.end());
        return all;
    }

private:
    // Smaller, or as large but met later.
    static bool ranksBelow(const Candidate& a, const Candidate& b)
    {
        return a.size != b.size ? a.size < b.size : a.sequence > b.sequence;
    }
    struct RanksAbove {
        bool operator()(const Candidate& a, const Candidate& b) const { return ranksBelow(b, a); }
    };

    std::priority_queue<Candidate, std::vector<Candidate>, RanksAbove> m_heap;
};

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

Entry entryOf(const StorageTree& tree, Index index)
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

// The largest files anywhere below the root, bundles' insides never among them; equal sizes in the
// order a depth-first walk meets them.
std::vector<Entry> largestFiles(const StorageTree& tree)
{
    LargestFiles largest;
    quint64 sequence = 0;
    std::vector<Index> folders{tree.root()};
    while (!folders.empty()) {
        const Index folder = folders.back();
        folders.pop_back();
        const std::size_t below = folders.size();
        for (const Index child : tree.children(folder)) {
            const StorageTree::Node& node = tree.node(child);
            if (node.isFolder())
                folders.push_back(child);
            else if (node.kind == StorageTree::Kind::file)
                largest.offer({node.apparent, sequence++, child});
        }
        // The first child's folder is taken first.
        std::reverse(folders.begin() + qsizetype(below), folders.end());
    }
    std::vector<Entry> entries;
    for (const LargestFiles::Candidate& candidate : largest.take())
        entries.push_back(entryOf(tree, candidate.index));
    return entries;
}

} // namespace

AnalysisReport reportOf(const StorageWalk::Result& walked)
{
    const StorageTree& tree = walked.tree;
    AnalysisReport report;
    report.path = QFile::decodeName(tree.origin.rootPath);
    report.overview = false;
    report.totalSize = 0;
    report.totalFiles = 0;
    if (tree.root() == StorageTree::none)
        return report;
    report.leftOut = walked.leftOut;
    report.totalSize = tree.node(tree.root()).apparent;
    report.totalFiles = walked.files;
    std::vector<Entry> topLevel;
    for (const Index child : tree.children(tree.root()))
        topLevel.push_back(entryOf(tree, child));
    LargestFirst::sort(
        topLevel, [](const Entry& entry) { return entry.size.value_or(0); },
        [](const Entry& entry) -> const QString& { return *entry.name; });
    if (topLevel.size() > std::size_t(listLimit))
        topLevel.resize(listLimit);
    report.entries = std::move(topLevel);
    report.largeFiles = largestFiles(tree);
    return report;
}

StorageWalk::Result imported(StorageTree tree)
{
    StorageWalk::Result result;
    for (Index index = 0; index < tree.size(); ++index)
        if (tree.node(index).kind == StorageTree::Kind::file && !tree.node(index).has(StorageTree::gone))
            ++result.files;
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
