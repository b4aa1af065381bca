#include "analysis/StorageWalk.h"

#include "platform/DirectoryStream.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/PathText.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace StorageWalk {

namespace {

using Kind = StorageTree::Kind;

// Only these bundles are one item, as the Finder shows them.
bool isBundle(QByteArrayView name)
{
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0)
        return false;
    const QByteArray extension = name.sliced(dot + 1).toByteArray().toLower();
    return extension == "app" || extension == "framework" || extension == "xcarchive";
}

Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return Kind::file;
    if (S_ISDIR(mode))
        return Kind::folder;
    return S_ISLNK(mode) ? Kind::link : Kind::special;
}

// An item's own record from its stat: links and special files weigh nothing, and a folder's apparent
// size is what its files add up to, so only its blocks are its own.
StorageTree::Item itemOf(QByteArrayView name, const struct stat& info)
{
    StorageTree::Item item;
    item.name = name;
    item.kind = kindOf(info.st_mode);
    item.inode = quint64(info.st_ino);
    item.modified = qint64(info.st_mtime);
    if (item.kind == Kind::file || item.kind == Kind::folder)
        item.allocated = qint64(info.st_blocks) * 512;
    if (item.kind == Kind::file) {
        item.apparent = qint64(info.st_size);
        if (info.st_nlink > 1)
            item.flags |= StorageTree::hardLinked;
    }
    return item;
}

int openFolder(const char* path)
{
    return open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// A folder waiting to be listed: its node, its path, and what it was when its parent listed it.
struct Task {
    StorageTree::Index node;
    QByteArray path;
    dev_t device;
    ino_t inode;
};

class Walk {
public:
    Walk(StorageTree& tree, const Options& options, dev_t device, QList<QByteArray> leftOutPaths)
        : m_tree(tree)
        , m_options(options)
        , m_device(device)
        , m_leftOutPaths(std::move(leftOutPaths))
    {
        m_clock.start();
    }

    void run(Task root)
    {
        m_tasks.push_back(std::move(root));
        const int threads =
            m_options.threads > 0 ? m_options.threads : std::max(1, QThread::idealThreadCount());
        std::vector<std::jthread> workers;
        for (int i = 1; i < threads; ++i)
            workers.emplace_back([this] { work(); });
        work();
    }

    qint64 files() const { return m_files; }
    bool capped() const { return m_capped; }
    qint64 hiddenItems() const { return m_hiddenItems; }
    qint64 hiddenBytes() const { return m_hiddenBytes; }

private:
    bool stopping() const
    {
        return m_capped || (m_options.cancelled && m_options.cancelled->load(std::memory_order_relaxed));
    }

    // Takes folders from the shared stack, last in first, until none is left and no one is listing.
    void work()
    {
        for (;;) {
            Task task;
            {
                std::unique_lock lock(m_mutex);
                m_ready.wait(lock, [this] { return !m_tasks.empty() || m_busy == 0; });
                if (m_tasks.empty())
                    return;
                task = std::move(m_tasks.back());
                m_tasks.pop_back();
                ++m_busy;
            }
            std::vector<Task> found;
            if (!stopping())
                list(task, found);
            {
                const std::lock_guard lock(m_mutex);
                if (stopping())
                    found.clear();
                for (Task& child : found)
                    m_tasks.push_back(std::move(child));
                --m_busy;
            }
            m_ready.notify_all();
        }
    }

    // Lists one folder into a block of the tree and returns the folders to list below it.
    void list(const Task& task, std::vector<Task>& found)
    {
        const int fd = openFolder(task.path.constData());
        struct stat self {};
        // Opened without following a link, and still the folder its parent listed.
        if (fd >= 0 && (fstat(fd, &self) != 0 || self.st_dev != task.device || self.st_ino != task.inode)) {
            close(fd);
            m_tree.node(task.node).flags |= StorageTree::unreadable;
            return;
        }
        DirectoryStream listing(fd);
        if (!listing.isOpen()) {
            m_tree.node(task.node).flags |= StorageTree::unreadable;
            return;
        }
        std::string names; // the block's names, one after another
        std::vector<std::pair<std::size_t, std::size_t>> spans;
        std::vector<StorageTree::Item> items;
        std::vector<std::pair<dev_t, ino_t>> identities;
        qint64 files = 0, bytes = 0;
        while (const std::optional<DirectoryStream::Entry> entry = listing.next()) {
            const QByteArrayView name(entry->name);
            struct stat info {};
            if (fstatat(listing.fd(), entry->name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // vanished since the listing
            if (!m_options.countEverything && name.startsWith('.')) {
                m_hiddenItems.fetch_add(1, std::memory_order_relaxed);
                if (S_ISREG(info.st_mode))
                    addSaturating(m_hiddenBytes, qint64(info.st_size));
                continue;
            }
            if (!m_leftOutPaths.isEmpty() && S_ISDIR(info.st_mode) &&
                m_leftOutPaths.contains(PathText::joined(task.path, name.toByteArray())))
                continue;
            StorageTree::Item item = itemOf({}, info);
            if (item.kind == Kind::folder && info.st_dev != m_device) {
                item.flags |= StorageTree::otherFileSystem;
            } else if (item.kind == Kind::folder && isBundle(name)) {
                item.kind = Kind::package;
                sumBundle(listing.fd(), entry->name, item, files);
            }
            if (item.kind == Kind::file)
                ++files;
            bytes = ByteCount::saturatingAdd(bytes, item.apparent);
            spans.emplace_back(names.size(), std::size_t(name.size()));
            names.append(name.data(), std::size_t(name.size()));
            items.push_back(item);
            identities.emplace_back(info.st_dev, info.st_ino);
        }
        if (listing.error() != 0)
            m_tree.node(task.node).flags |= StorageTree::unreadable;
        for (std::size_t i = 0; i < items.size(); ++i)
            items[i].name = QByteArrayView(names.data() + spans[i].first, qsizetype(spans[i].second));
        const StorageTree::Index first = m_tree.addBlock(items, m_options.mostItems);
        if (first == StorageTree::none) {
            m_capped = true;
            return;
        }
        m_tree.adopt(task.node, first, quint32(items.size()));
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].kind == Kind::folder && !(items[i].flags & StorageTree::otherFileSystem))
                found.push_back({StorageTree::Index(first + i),
                                 PathText::joined(task.path, items[i].name.toByteArray()),
                                 identities[i].first, identities[i].second});
        m_files.fetch_add(files, std::memory_order_relaxed);
        report(task.path, files, bytes);
    }

    // A bundle is one item: its files' sizes are summed into it, and counted as files.
    void sumBundle(int parent, const char* name, StorageTree::Item& bundle, qint64& files)
    {
        const int fd = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        DirectoryStream listing(fd);
        while (const std::optional<DirectoryStream::Entry> entry = listing.next()) {
            struct stat info {};
            if (fstatat(listing.fd(), entry->name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            if (S_ISDIR(info.st_mode)) {
                if (info.st_dev == m_device)
                    sumBundle(listing.fd(), entry->name, bundle, files);
                bundle.allocated = ByteCount::saturatingAdd(bundle.allocated, qint64(info.st_blocks) * 512);
            } else if (S_ISREG(info.st_mode)) {
                ++files;
                bundle.allocated = ByteCount::saturatingAdd(bundle.allocated, qint64(info.st_blocks) * 512);
                bundle.apparent = ByteCount::saturatingAdd(bundle.apparent, qint64(info.st_size));
                bundle.modified = std::max(bundle.modified, qint64(info.st_mtime));
            }
        }
    }

    static void addSaturating(std::atomic<qint64>& sum, qint64 bytes)
    {
        qint64 now = sum.load();
        while (!sum.compare_exchange_weak(now, ByteCount::saturatingAdd(now, bytes))) {
        }
    }

    void report(const QByteArray& folder, qint64 files, qint64 bytes)
    {
        m_reportedFiles.fetch_add(files, std::memory_order_relaxed);
        addSaturating(m_reportedBytes, bytes);
        if (!m_options.onProgress)
            return;
        const qint64 now = m_clock.elapsed();
        qint64 last = m_lastReport.load();
        if (now - last < 100 || !m_lastReport.compare_exchange_strong(last, now))
            return;
        m_options.onProgress({PathText::shown(folder), m_reportedFiles.load(), m_reportedBytes.load()});
    }

    StorageTree& m_tree;
    const Options& m_options;
    const dev_t m_device;
    const QList<QByteArray> m_leftOutPaths; // folders left out, by their paths
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::vector<Task> m_tasks;
    int m_busy = 0;
    std::atomic_bool m_capped = false;
    std::atomic<qint64> m_files = 0, m_hiddenItems = 0, m_hiddenBytes = 0;
    std::atomic<qint64> m_reportedFiles = 0, m_reportedBytes = 0;
    QElapsedTimer m_clock;
    std::atomic<qint64> m_lastReport = -1000;
};

// The personal folders macOS protects below the home folder, relative to it; none below any other
// folder, and none on another system.
QList<QByteArray> protectedChildren(const QByteArray& root, const Options& options)
{
    if (options.countEverything || options.system != TargetSystem::macOS ||
        PathText::standardized(QFile::encodeName(options.home)) != root)
        return {};
    return {"Desktop", "Documents", "Downloads", "Library/Mobile Documents"};
}

} // namespace

Result walk(const QByteArray& folder, const Options& options)
{
    Result result;
    const QByteArray root = PathText::standardized(folder);
    struct stat info {};
    if (lstat(root.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return result;
    StorageTree& tree = result.tree;
    tree.origin.rootPath = root;
    tree.origin.device = quint64(info.st_dev);
    tree.origin.program = QStringLiteral("kelvo");
    tree.origin.scanned = QDateTime::currentDateTime();
    const StorageTree::Index top = tree.addRoot(itemOf(root, info));

    QList<QByteArray> leftOut;
    for (const QByteArray& child : protectedChildren(root, options)) {
        const QByteArray path = PathText::joined(root, child);
        struct stat protectedInfo {};
        if (lstat(path.constData(), &protectedInfo) == 0)
            result.leftOut.protectedFolders << QString::fromUtf8(child);
        leftOut << path;
    }
    Walk walk(tree, options, info.st_dev, leftOut);
    walk.run({top, root, info.st_dev, info.st_ino});
    tree.finish();
    result.files = walk.files();
    result.capped = walk.capped();
    result.cancelled = options.cancelled && options.cancelled->load();
    result.leftOut.hiddenItems = walk.hiddenItems();
    result.leftOut.hiddenFileBytes = walk.hiddenBytes();
    return result;
}

} // namespace StorageWalk
