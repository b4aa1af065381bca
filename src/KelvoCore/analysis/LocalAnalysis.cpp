#include "analysis/LocalAnalysis.h"

#include "platform/FileWalker.h"
#include "platform/HomeFolder.h"
#include "platform/PathText.h"
#include "vocabulary/NaturalOrder.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <queue>

namespace LocalAnalysis {

namespace {

using Entry = AnalysisReport::Entry;

// Only these bundles are summed as one item; any other folder is walked file by file.
bool isPackage(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return false;
    const QString extension = name.mid(dot + 1).toLower();
    return extension == QLatin1String("app") || extension == QLatin1String("framework") ||
           extension == QLatin1String("xcarchive");
}

QSet<QString> protectedChildPaths(const QString& root, const QString& home)
{
    if (PathText::standardized(home) != root)
        return {};
    QSet<QString> paths;
    for (const char* child : {"Desktop", "Documents", "Downloads", "Library/Mobile Documents"})
        paths.insert(PathText::standardized(root + QLatin1Char('/') + QLatin1String(child)));
    return paths;
}

// The largest files seen so far, never more than the list holds. Equal sizes keep the walk order.
class LargestFiles {
public:
    void offer(const QString& name, const QString& path, qint64 size)
    {
        const Candidate candidate{size, m_sequence++, name, path};
        if (m_heap.size() < std::size_t(listLimit)) {
            m_heap.push(candidate);
        } else if (smallerFirst(m_heap.top(), candidate)) {
            m_heap.pop();
            m_heap.push(candidate);
        }
    }

    std::vector<Entry> largestFirst()
    {
        std::vector<Candidate> all;
        for (; !m_heap.empty(); m_heap.pop())
            all.push_back(m_heap.top());
        std::sort(all.begin(), all.end(),
                  [](const Candidate& a, const Candidate& b) { return smallerFirst(b, a); });
        std::vector<Entry> entries;
        for (const Candidate& c : all)
            entries.push_back({c.name, c.path, c.size, false});
        return entries;
    }

private:
    struct Candidate {
        qint64 size;
        qint64 sequence;
        QString name;
        QString path;
    };
    // "a ranks below b": smaller, or as large but met later.
    static bool smallerFirst(const Candidate& a, const Candidate& b)
    {
        return a.size != b.size ? a.size < b.size : a.sequence > b.sequence;
    }
    struct RanksAbove {
        bool operator()(const Candidate& a, const Candidate& b) const { return smallerFirst(b, a); }
    };

    std::priority_queue<Candidate, std::vector<Candidate>, RanksAbove> m_heap;
    qint64 m_sequence = 0;
};

struct Walk {
    const Options& options;
    QSet<QString> protectedPaths;
    std::vector<Entry> topLevel; // in listing order
    QHash<QString, std::size_t> topLevelIndex;
    LargestFiles largest;
    qint64 totalSize = 0;
    qint64 totalFiles = 0;
    std::optional<std::size_t> currentTop;
    Progress progress;
    QElapsedTimer clock;

    void attribute(qint64 bytes)
    {
        if (currentTop)
            *topLevel[*currentTop].size += bytes;
    }

    void report(const QString& folder)
    {
        if (!options.onProgress || clock.elapsed() < 100)
            return;
        clock.restart();
        progress.folder = folder;
        progress.items = totalFiles;
        progress.bytes = totalSize;
        options.onProgress(progress);
    }

    // (bytes, files) of a bundle; its insides are visited here only.
    std::pair<qint64, qint64> packageSummary(const QString& path) const
    {
        qint64 bytes = 0;
        qint64 files = 0;
        FileWalker::Options walk;
        walk.includeHidden = false;
        walk.cancelled = options.cancelled;
        FileWalker::walk(path, walk, [&](const FileWalker::Item& item) {
            if (item.kind == FileWalker::Kind::file) {
                bytes += item.logicalBytes;
                ++files;
            }
            return FileWalker::Decision::proceed;
        });
        return {bytes, files};
    }

    FileWalker::Decision visit(const FileWalker::Item& item)
    {
        if (item.depth == 1) {
            const auto found = topLevelIndex.constFind(item.path);
            currentTop = found == topLevelIndex.cend() ? std::nullopt : std::optional<std::size_t>(*found);
        }
        if (protectedPaths.contains(item.path))
            return FileWalker::Decision::skipDescendants;
        if (item.kind == FileWalker::Kind::folder) {
            if (isPackage(item.name)) {
                const auto [bytes, files] = packageSummary(item.path);
                totalSize += bytes;
                totalFiles += files;
                attribute(bytes);
                return FileWalker::Decision::skipDescendants;
            }
            report(item.path);
            return FileWalker::Decision::proceed;
        }
        if (item.kind != FileWalker::Kind::file)
            return FileWalker::Decision::proceed;
        totalSize += item.logicalBytes;
        ++totalFiles;
        attribute(item.logicalBytes);
        largest.offer(item.name, item.path, item.logicalBytes);
        return FileWalker::Decision::proceed;
    }
};

} // namespace

AnalysisReport snapshot(const QString& rootPath, const Options& options)
{
    return snapshot(rootPath, HomeFolder::current(), options);
}

AnalysisReport snapshot(const QString& rootPath, const QString& home, const Options& options)
{
    AnalysisReport report;
    report.path = rootPath;
    report.overview = false;
    report.totalSize = 0;
    report.totalFiles = 0;
    const QString root = PathText::standardized(rootPath);
    if (!FileWalker::statItem(root))
        return report;

    Walk walk{options, protectedChildPaths(root, home), {}, {}, {}, 0, 0, {}, {}, {}};
    walk.clock.start();

    // Every visible child is listed, empty ones included, before any size is known.
    FileWalker::Options children;
    children.includeHidden = false;
    children.maxDepth = 1;
    FileWalker::walk(root, children, [&](const FileWalker::Item& item) {
        if (!walk.protectedPaths.contains(item.path)) {
            walk.topLevel.push_back({item.name, item.path, 0, item.kind == FileWalker::Kind::folder});
        }
        return FileWalker::Decision::skipDescendants;
    });
    std::sort(walk.topLevel.begin(), walk.topLevel.end(),
              [](const Entry& a, const Entry& b) { return NaturalOrder::lessThan(*a.name, *b.name); });
    for (std::size_t i = 0; i < walk.topLevel.size(); ++i)
        walk.topLevelIndex.insert(*walk.topLevel[i].path, i);

    FileWalker::Options tree;
    tree.includeHidden = false;
    tree.cancelled = options.cancelled;
    FileWalker::walk(root, tree, [&](const FileWalker::Item& item) { return walk.visit(item); });

    std::stable_sort(walk.topLevel.begin(), walk.topLevel.end(),
                     [](const Entry& a, const Entry& b) { return a.size.value_or(0) > b.size.value_or(0); });
    if (walk.topLevel.size() > std::size_t(listLimit))
        walk.topLevel.resize(listLimit);
    report.entries = std::move(walk.topLevel);
    report.largeFiles = walk.largest.largestFirst();
    report.totalSize = walk.totalSize;
    report.totalFiles = walk.totalFiles;
    return report;
}

} // namespace LocalAnalysis
