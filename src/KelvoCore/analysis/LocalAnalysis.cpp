#include "analysis/LocalAnalysis.h"

#include "platform/FileErrorText.h"
#include "platform/FileWalker.h"
#include "platform/HomeFolder.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/LargestFirst.h"
#include "vocabulary/PathText.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>

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

// The personal folders macOS protects below the home folder, relative to it; none below any other
// folder, and none on another system.
QStringList protectedChildren(const QByteArray& root, const QString& home, TargetSystem system)
{
    if (system != TargetSystem::macOS || PathText::standardized(QFile::encodeName(home)) != root)
        return {};
    return {QStringLiteral("Desktop"), QStringLiteral("Documents"), QStringLiteral("Downloads"),
            QStringLiteral("Library/Mobile Documents")};
}

bool isHidden(const FileWalker::Item& item)
{
    return item.name.startsWith(QLatin1Char('.'));
}

// Hidden items met by the parallel walks; they are not entered, so only hidden files have a size.
struct HiddenTally {
    std::atomic<qint64> items = 0;
    std::atomic<qint64> fileBytes = 0;

    void add(const FileWalker::Item& item)
    {
        ++items;
        if (item.kind != FileWalker::Kind::file)
            return;
        qint64 sum = fileBytes.load();
        while (!fileBytes.compare_exchange_weak(sum, ByteCount::saturatingAdd(sum, item.logicalBytes))) {
        }
    }
};

// The largest files seen so far, never more than the list holds. Equal sizes keep the walk order,
// given as a sequence number.
class LargestFiles {
public:
    struct Candidate {
        qint64 size;
        quint64 sequence;
        QString name;
        QString path;
        FileIdentity identity;
        QByteArray rawPath;
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

// One piece of the tree, in the order a single walk would meet it: a file near the top, a bundle,
// or a folder two levels down with everything below it. Folders are walked in parallel; merging the
// pieces in this order gives the report a single walk would give.
struct Segment {
    enum class Kind { file, package, folder } kind;
    FileWalker::Item item;
    std::size_t topLevel; // index of the child of the root it belongs to
    // Filled by the walk:
    qint64 bytes = 0;
    qint64 files = 0;
    LargestFiles largest;
};

// Counts shared by the parallel walks, reported at a calm rate.
class SharedProgress {
public:
    explicit SharedProgress(const Options& options)
        : m_options(options)
    {
        m_clock.start();
    }

    void add(qint64 files, qint64 bytes, const QString& folder)
    {
        m_files += files;
        m_bytes += bytes;
        if (!m_options.onProgress)
            return;
        const qint64 now = m_clock.elapsed();
        qint64 last = m_lastReport.load();
        if (now - last < 100 || !m_lastReport.compare_exchange_strong(last, now))
            return;
        m_options.onProgress({folder, m_files.load(), m_bytes.load()});
    }

private:
    const Options& m_options;
    QElapsedTimer m_clock;
    std::atomic<qint64> m_files = 0;
    std::atomic<qint64> m_bytes = 0;
    std::atomic<qint64> m_lastReport = -1000;
};

Segment::Kind kindOf(const FileWalker::Item& item)
{
    if (item.kind == FileWalker::Kind::file)
        return Segment::Kind::file;
    return isPackage(item.name) ? Segment::Kind::package : Segment::Kind::folder;
}

// A folder's children in the order the file system lists them, and whether it could be listed.
struct Listing {
    std::vector<FileWalker::Item> items;
    bool listed = false;
};

Listing listingOf(const FileWalker::Item& folder)
{
    Listing listing;
    FileWalker::Options options;
    options.maxDepth = 1;
    listing.listed = FileWalker::walk(folder, options, [&](const FileWalker::Item& item) {
                         listing.items.push_back(item);
                         return FileWalker::Decision::skipDescendants;
                     }).rootListed;
    return listing;
}

AnalysisReport::Kind entryKind(const FileWalker::Item& item)
{
    switch (item.kind) {
    case FileWalker::Kind::file:
        return AnalysisReport::Kind::file;
    case FileWalker::Kind::folder:
        return AnalysisReport::Kind::folder;
    case FileWalker::Kind::link:
        return FileWalker::leadsSomewhere(item) ? AnalysisReport::Kind::link
                                                : AnalysisReport::Kind::danglingLink;
    case FileWalker::Kind::other:
        break;
    }
    return AnalysisReport::Kind::special;
}

// What the walks share: the counts for progress, the hidden tally, and whether hidden items count.
struct WalkContext {
    const Options& options;
    SharedProgress& progress;
    HiddenTally& hidden;

    // True when the item is left out (and tallied).
    bool leavesOut(const FileWalker::Item& item) const
    {
        if (options.countEverything || !isHidden(item))
            return false;
        hidden.add(item);
        return true;
    }
};

void walkSegment(Segment& segment, const WalkContext& context)
{
    SharedProgress& progress = context.progress;
    if (segment.kind == Segment::Kind::file) {
        segment.bytes = segment.item.logicalBytes;
        segment.files = 1;
        segment.largest.offer({segment.item.logicalBytes, 0, segment.item.name, segment.item.path,
                               segment.item.identity, segment.item.rawPath});
        progress.add(1, segment.bytes, segment.item.path);
        return;
    }
    const bool package = segment.kind == Segment::Kind::package;
    quint64 sequence = 0;
    qint64 reportedFiles = 0;
    qint64 reportedBytes = 0;
    FileWalker::Options walk;
    walk.cancelled = context.options.cancelled;
    FileWalker::walk(segment.item, walk, [&](const FileWalker::Item& item) {
        if (context.leavesOut(item))
            return FileWalker::Decision::skipDescendants;
        if (item.kind == FileWalker::Kind::folder && !package && isPackage(item.name)) {
            // A bundle inside is summed, never listed among the large files.
            Segment inner{Segment::Kind::package, item, segment.topLevel, 0, 0, {}};
            walkSegment(inner, context);
            segment.bytes = ByteCount::saturatingAdd(segment.bytes, inner.bytes);
            segment.files += inner.files;
            return FileWalker::Decision::skipDescendants;
        }
        if (item.kind != FileWalker::Kind::file)
            return FileWalker::Decision::proceed;
        // Logical sizes: sparse files may claim exabytes, so the sums saturate rather than wrap.
        segment.bytes = ByteCount::saturatingAdd(segment.bytes, item.logicalBytes);
        ++segment.files;
        if (!package)
            segment.largest.offer(
                {item.logicalBytes, sequence++, item.name, item.path, item.identity, item.rawPath});
        if (segment.files - reportedFiles >= 4096) {
            progress.add(segment.files - reportedFiles, segment.bytes - reportedBytes, segment.item.path);
            reportedFiles = segment.files;
            reportedBytes = segment.bytes;
        }
        return FileWalker::Decision::proceed;
    });
    progress.add(segment.files - reportedFiles, segment.bytes - reportedBytes, segment.item.path);
}

// The bytes of a listed item, kept only when its path does not spell them.
std::optional<QByteArray> rawPathOf(const QByteArray& rawPath)
{
    return rawPath.isEmpty() ? std::nullopt : std::optional(rawPath);
}

} // namespace

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

AnalysisReport snapshot(const QByteArray& rootPath, const QString& home, const Options& options)
{
    AnalysisReport report;
    report.path = QFile::decodeName(rootPath);
    report.rawPath = QFile::encodeName(*report.path) == rootPath ? std::nullopt : std::optional(rootPath);
    report.overview = false;
    report.totalSize = 0;
    report.totalFiles = 0;
    const QByteArray rootBytes = PathText::standardized(rootPath);
    const std::optional<FileWalker::Item> root = FileWalker::statItem(rootBytes);
    if (!root)
        return report;
    report.leftOut = AnalysisReport::LeftOut{};
    QSet<QByteArray> protectedPaths;
    if (!options.countEverything)
        for (const QString& child : protectedChildren(rootBytes, home, options.system)) {
            const QByteArray path = PathText::joined(rootBytes, QFile::encodeName(child));
            protectedPaths.insert(path);
            if (FileWalker::statItem(path))
                report.leftOut->protectedFolders << child;
        }

    SharedProgress progress(options);
    HiddenTally hidden;
    const WalkContext context{options, progress, hidden};
    const auto counted = [&](const FileWalker::Item& item) {
        return !protectedPaths.contains(item.bytes()) && !context.leavesOut(item);
    };

    // Every visible child is listed, empty ones, links and special files included; the tree is cut
    // into segments below them.
    std::vector<Entry> topLevel;
    std::vector<Segment> segments;
    for (const FileWalker::Item& child : listingOf(*root).items) {
        if (!counted(child))
            continue;
        const std::size_t index = topLevel.size();
        topLevel.push_back({child.name, child.path, 0, child.kind == FileWalker::Kind::folder, child.identity,
                            entryKind(child), rawPathOf(child.rawPath)});
        if (child.kind != FileWalker::Kind::file && child.kind != FileWalker::Kind::folder)
            continue;
        const Segment::Kind kind = kindOf(child);
        if (kind != Segment::Kind::folder) {
            segments.push_back({kind, child, index, 0, 0, {}});
            continue;
        }
        const Listing inside = listingOf(child);
        if (!inside.listed)
            topLevel.back().kind = AnalysisReport::Kind::unreadableFolder;
        for (const FileWalker::Item& grandchild : inside.items)
            if (counted(grandchild) &&
                (grandchild.kind == FileWalker::Kind::file || grandchild.kind == FileWalker::Kind::folder))
                segments.push_back({kindOf(grandchild), grandchild, index, 0, 0, {}});
    }

    QThreadPool pool;
    pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    QtConcurrent::blockingMap(&pool, segments, [&](Segment& segment) {
        if (!options.cancelled || !options.cancelled->load())
            walkSegment(segment, context);
    });
    report.leftOut->hiddenItems = hidden.items;
    report.leftOut->hiddenFileBytes = hidden.fileBytes;

    LargestFiles largest;
    quint64 ordinal = 0;
    for (Segment& segment : segments) {
        topLevel[segment.topLevel].size =
            ByteCount::saturatingAdd(*topLevel[segment.topLevel].size, segment.bytes);
        report.totalSize = ByteCount::saturatingAdd(*report.totalSize, segment.bytes);
        report.totalFiles = *report.totalFiles + segment.files;
        for (LargestFiles::Candidate& candidate : segment.largest.take()) {
            candidate.sequence += ordinal << 40;
            largest.offer(std::move(candidate));
        }
        ++ordinal;
    }

    LargestFirst::sort(
        topLevel, [](const Entry& entry) { return entry.size.value_or(0); },
        [](const Entry& entry) -> const QString& { return *entry.name; });
    if (topLevel.size() > std::size_t(listLimit))
        topLevel.resize(listLimit);
    report.entries = std::move(topLevel);
    for (const LargestFiles::Candidate& candidate : largest.take())
        report.largeFiles.push_back({candidate.name, candidate.path, candidate.size, false,
                                     candidate.identity, AnalysisReport::Kind::file,
                                     rawPathOf(candidate.rawPath)});
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
