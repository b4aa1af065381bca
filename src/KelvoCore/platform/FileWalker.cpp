#include "platform/FileWalker.h"

#include "platform/DirectoryStream.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/KelvoLog.h"
#include "vocabulary/PathText.h"

#include <QFile>
#include <QSet>

#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileWalker {

namespace {

Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return Kind::file;
    if (S_ISDIR(mode))
        return Kind::folder;
    if (S_ISLNK(mode))
        return Kind::link;
    return Kind::other;
}

// What a walk passes over (an item that vanished or cannot be read or entered, a listing cut short)
// is no finding, but the errno goes to the kelvo.files debug log.
void passedOver(const char* what, const QString& folder, const char* name, int error)
{
    qCDebug(lcFiles, "%s %s/%s: %s", what, qUtf8Printable(folder), name,
            qUtf8Printable(qt_error_string(error)));
}

void fill(Item& item, const struct stat& info)
{
    item.kind = kindOf(info.st_mode);
    item.allocatedBytes = static_cast<qint64>(info.st_blocks) * 512;
    item.logicalBytes = static_cast<qint64>(info.st_size);
    item.accessTime = static_cast<qint64>(info.st_atime);
    item.identity = {quint64(info.st_dev), quint64(info.st_ino)};
}

// The kind a folder listing tells without a stat; false when it does not tell (DT_UNKNOWN).
bool kindFromListing(unsigned char type, Kind& kind)
{
    switch (type) {
    case DT_REG:
        kind = Kind::file;
        return true;
    case DT_DIR:
        kind = Kind::folder;
        return true;
    case DT_LNK:
        kind = Kind::link;
        return true;
    case DT_UNKNOWN:
        return false;
    default:
        kind = Kind::other;
        return true;
    }
}

// Whether decoding a name gives text that encodes back to the same bytes: valid UTF-8, and no byte
// order mark at the start (the decoder drops it).
bool spellsExactly(const char* rawName)
{
    const QByteArrayView name(rawName);
    return name.isValidUtf8() && !name.startsWith("\xEF\xBB\xBF");
}

class Walk {
public:
    Walk(const Options& options, const Visitor& visit)
        : m_options(options)
        , m_visit(visit)
    {
    }

    // Walks the open folder fd (taken over and closed here), whose bytes rawPath are when path does not
    // spell them. Returns false when the walk must stop.
    bool folder(int fd, const QString& path, const QByteArray& rawPath, int depth)
    {
        DirectoryStream listing(fd);
        bool keepGoing = true;
        while (keepGoing) {
            const std::optional<DirectoryStream::Entry> entry = listing.next();
            if (!entry)
                break;
            const char* rawName = entry->name;
            if (!m_options.includeHidden && rawName[0] == '.')
                continue;
            Item item;
            if (!(m_options.namesOnly && kindFromListing(entry->type, item.kind))) {
                struct stat info;
                if (fstatat(listing.fd(), rawName, &info, AT_SYMLINK_NOFOLLOW) != 0) {
                    passedOver("not read:", path, rawName, errno);
                    continue; // vanished or unreadable
                }
                fill(item, info);
            }
            item.name = QFile::decodeName(rawName);
            item.path = PathText::joined(path, item.name);
            if (!rawPath.isEmpty() || !spellsExactly(rawName))
                item.rawPath = PathText::joined(rawPath.isEmpty() ? QFile::encodeName(path) : rawPath,
                                                QByteArray(rawName));
            item.depth = depth;
            keepGoing = visit(item, listing.fd(), rawName);
        }
        if (listing.error() != 0)
            passedOver("not listed whole:", path, "", listing.error());
        return keepGoing;
    }

    qint64 count() const { return m_count; }
    bool stopped() const { return m_stopped; }

private:
    bool shouldStop()
    {
        if (m_options.itemCap >= 0 && m_count >= m_options.itemCap)
            return true;
        if (m_options.cancelled && m_options.cancelled->load(std::memory_order_relaxed))
            return true;
        // Reading the clock per item would cost as much as the stat; every 256 items is enough.
        return m_options.deadline && (m_count & 0xFF) == 0 && m_options.deadline->hasExpired();
    }

    bool visit(const Item& item, int parentFd, const char* rawName)
    {
        if (shouldStop()) {
            m_stopped = true;
            return false;
        }
        ++m_count;
        const Decision decision = m_visit(item);
        if (decision == Decision::stop) {
            m_stopped = true;
            return false;
        }
        if (decision == Decision::skipDescendants || item.kind != Kind::folder)
            return true;
        if (m_options.maxDepth >= 0 && item.depth >= m_options.maxDepth)
            return true;
        if (!m_options.enterPackages && isPackageName(item.name))
            return true;
        // O_NOFOLLOW: a folder swapped for a link between the stat and the open is not entered.
        const int fd = openat(parentFd, rawName, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            passedOver("not entered:", item.path, "", errno);
            return true; // unreadable folder: listed, not entered
        }
        return folder(fd, item.path, item.rawPath, item.depth + 1);
    }

    const Options& m_options;
    const Visitor& m_visit;
    qint64 m_count = 0;
    bool m_stopped = false;
};

// Walks below the open folder fd (taken over and closed), whose bytes rawPath are when path does not
// spell them.
Outcome walkFrom(int fd, const QString& path, const QByteArray& rawPath, const Options& options,
                 const Visitor& visit)
{
    Outcome outcome;
    if (fd < 0)
        return outcome;
    outcome.rootListed = true;
    Walk walk(options, visit);
    walk.folder(fd, path, rawPath, 1);
    outcome.itemCount = walk.count();
    outcome.finished = !walk.stopped();
    return outcome;
}

} // namespace

Outcome walk(const QString& root, const Options& options, const Visitor& visit)
{
    return walkOpenFolder(
        ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC), root,
        options, visit);
}

Outcome walk(const Item& folder, const Options& options, const Visitor& visit)
{
    return walkFrom(::open(folder.bytes().constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC),
                    folder.path, folder.rawPath, options, visit);
}

Outcome walkOpenFolder(int fd, const QString& path, const Options& options, const Visitor& visit)
{
    return walkFrom(fd, path, {}, options, visit);
}

std::optional<Item> statItem(const QString& path)
{
    struct stat info;
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    Item item;
    item.path = path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    item.name = slash >= 0 ? path.mid(slash + 1) : path;
    fill(item, info);
    return item;
}

std::optional<Item> statItem(const QByteArray& path)
{
    struct stat info;
    if (lstat(path.constData(), &info) != 0)
        return std::nullopt;
    Item item;
    item.path = QFile::decodeName(path);
    item.name = QFile::decodeName(path.mid(path.lastIndexOf('/') + 1));
    if (QFile::encodeName(item.path) != path)
        item.rawPath = path;
    fill(item, info);
    return item;
}

bool leadsSomewhere(const Item& link)
{
    struct stat info;
    return ::stat(link.bytes().constData(), &info) == 0;
}

QByteArray Item::bytes() const
{
    return rawPath.isEmpty() ? QFile::encodeName(path) : rawPath;
}

Measurement measure(const QString& path, const MeasureOptions& options)
{
    const std::optional<Item> root = statItem(path);
    return root ? measure(*root, options) : Measurement{};
}

namespace {

// The measuring walk: works on the listing's raw names, stats only files (and items whose kind the
// listing does not tell), and builds an item's path only when onCounted wants that item.
class Measuring {
public:
    explicit Measuring(const MeasureOptions& options)
        : m_options(options)
    {
    }

    // Measures below the open folder fd (taken over and closed). Returns false when the walk must stop.
    bool folder(int fd, const QString& path)
    {
        DirectoryStream listing(fd);
        if (!listing.isOpen())
            return true;
        const bool wantsAll = m_options.onCounted && (!m_options.wantsInside || m_options.wantsInside(path));
        bool keepGoing = true;
        while (keepGoing) {
            const std::optional<DirectoryStream::Entry> entry = listing.next();
            if (!entry)
                break;
            const char* rawName = entry->name;
            Kind kind = Kind::other;
            struct stat info {};
            const bool listed = kindFromListing(entry->type, kind);
            // A folder is opened, not stat'ed; a link or special file only when it counts.
            if (!listed || kind == Kind::file || (kind != Kind::folder && m_options.countLinks)) {
                if (fstatat(listing.fd(), rawName, &info, AT_SYMLINK_NOFOLLOW) != 0) {
                    passedOver("not read:", path, rawName, errno);
                    continue; // vanished or unreadable
                }
                kind = kindOf(info.st_mode);
            }
            if (kind != Kind::file && kind != Kind::folder && !m_options.countLinks)
                continue; // links and special files measure nothing
            const qint64 bytes = kind != Kind::folder ? static_cast<qint64>(info.st_blocks) * 512 : 0;
            keepGoing = count(kind, bytes, rawName, path, wantsAll);
            if (keepGoing && kind == Kind::folder)
                keepGoing = enter(listing.fd(), rawName, path);
        }
        if (listing.error() != 0)
            passedOver("not listed whole:", path, "", listing.error());
        return keepGoing;
    }

    void finish()
    {
        if (m_options.onProgress && m_unreportedItems > 0)
            m_options.onProgress(m_unreportedItems, m_unreported.allocatedBytes);
    }

    Measurement found;

private:
    bool count(Kind kind, qint64 bytes, const char* rawName, const QString& parent, bool wantsAll)
    {
        if (m_options.cancelled && m_options.cancelled->load(std::memory_order_relaxed))
            return false;
        for (Measurement* tally : {&found, &m_unreported}) {
            tally->allocatedBytes = ByteCount::saturatingAdd(tally->allocatedBytes, bytes);
            if (m_insidePackages == 0)
                ++(kind == Kind::file ? tally->files : kind == Kind::folder ? tally->folders : tally->links);
        }
        ++m_met;
        if (m_options.onCounted && (wantsAll || (m_options.wantsName && m_options.wantsName(rawName)))) {
            Item item;
            item.kind = kind;
            item.name = QFile::decodeName(rawName);
            item.path = PathText::joined(parent, item.name);
            item.allocatedBytes = bytes;
            m_options.onCounted(item);
        }
        if (m_options.onProgress && ++m_unreportedItems >= 1024) {
            m_options.onProgress(m_unreportedItems, m_unreported.allocatedBytes);
            m_unreported = {};
            m_unreportedItems = 0;
        }
        return !(m_options.itemCap && m_met >= *m_options.itemCap);
    }

    bool enter(int parentFd, const char* rawName, const QString& parent)
    {
        const QString name = QFile::decodeName(rawName);
        const bool package = (!m_options.enterPackages || m_options.packageIsOneItem) &&
                             std::strchr(rawName, '.') && isPackageName(name);
        if (package && !m_options.enterPackages)
            return true;
        // O_NOFOLLOW: a folder swapped for a link since it was listed is not entered.
        const int fd = openat(parentFd, rawName, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            passedOver("not entered:", parent, rawName, errno);
            return true; // unreadable folder: counted, not entered
        }
        m_insidePackages += package ? 1 : 0;
        const bool keepGoing = folder(fd, PathText::joined(parent, name));
        m_insidePackages -= package ? 1 : 0;
        return keepGoing;
    }

    const MeasureOptions& m_options;
    Measurement m_unreported; // counted since the last progress call
    qint64 m_unreportedItems = 0;
    qint64 m_met = 0;         // items met, inside bundles too: what the item cap bounds
    int m_insidePackages = 0; // bundles around the folder being walked, when a bundle is one item
};

// Measures below the open folder fd (taken over and closed).
Measurement measureFolder(int fd, const QString& path, const MeasureOptions& options)
{
    if (fd < 0)
        return {};
    Measuring walk(options);
    walk.found.complete = walk.folder(fd, path);
    walk.finish();
    return walk.found;
}

Measurement fileMeasurement(qint64 allocatedBytes)
{
    Measurement found;
    found.allocatedBytes = allocatedBytes;
    found.files = 1;
    return found;
}

} // namespace

Measurement measure(const Item& root, const MeasureOptions& options)
{
    if (root.kind == Kind::file)
        return fileMeasurement(root.allocatedBytes);
    if (root.kind != Kind::folder)
        return {};
    return measureFolder(
        ::open(QFile::encodeName(root.path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC),
        root.path, options);
}

Measurement measure(const ConfinedPath::Reached& root, const MeasureOptions& options)
{
    const mode_t mode = root.facts().mode;
    if (S_ISREG(mode))
        return fileMeasurement(root.facts().allocatedBytes);
    if (!S_ISDIR(mode))
        return {};
    return measureFolder(root.openFolder(), root.path(), options);
}

std::vector<Item> children(const QString& folder, const Options& options)
{
    std::vector<Item> items;
    walk(folder, options, [&](const Item& item) {
        items.push_back(item);
        return Decision::skipDescendants;
    });
    return items;
}

bool isPackageName(const QString& name)
{
    static const QSet<QString> extensions{
        QStringLiteral("app"),         QStringLiteral("framework"),  QStringLiteral("bundle"),
        QStringLiteral("plugin"),      QStringLiteral("kext"),       QStringLiteral("xpc"),
        QStringLiteral("appex"),       QStringLiteral("xcarchive"),  QStringLiteral("photoslibrary"),
        QStringLiteral("pkg"),         QStringLiteral("mpkg"),       QStringLiteral("prefpane"),
        QStringLiteral("qlgenerator"), QStringLiteral("mdimporter"), QStringLiteral("saver"),
        QStringLiteral("wdgt"),        QStringLiteral("playground"), QStringLiteral("xcodeproj"),
        QStringLiteral("xcworkspace"), QStringLiteral("rtfd"),       QStringLiteral("dsym"),
    };
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == name.size() - 1)
        return false;
    return extensions.contains(name.mid(dot + 1).toLower());
}

} // namespace FileWalker
