// Reading an ncdu export into a storage tree, streamed and without recursion.
//
// A folder's children arrive mixed with everything below them, while the tree wants each folder's
// children as one block. So each open folder gathers its children's details; when the folder closes,
// they become one block of the tree and each child folder among them adopts the block its own
// children became when it closed. The root closes last and is added last.
#include "analysis/JsonByteScanner.h"
#include "analysis/NcduExport.h"
#include "analysis/NcduExportText.h"

#include <QTimeZone>

#include <limits>

namespace {

using Index = StorageTree::Index;
using Kind = StorageTree::Kind;

constexpr std::size_t progressEvery = 16384;
constexpr qint64 latestTimestamp = 253402300799; // the last second of the year 9999
constexpr qsizetype longestKey = 16;             // longer keys are none that this reader knows
constexpr qsizetype longestMetadata = 256;
// The type bits of a file mode, as POSIX systems give them in st_mode.
constexpr quint64 typeBits = 0170000, folderType = 0040000, linkType = 0120000;

// One item's details object as read: the fields the tree keeps, and those that say what it is.
struct Details {
    StorageTree::Item item;
    QByteArray name;
    bool named = false;
    bool notRegular = false;
    bool linkCounted = false; // "hlnkc" or an "nlink" above one
    bool readError = false;
    QByteArray excluded;
    std::optional<quint64> mode;
    std::optional<quint64> device;
};

// A child gathered by its open folder; a folder among them brings the block of its own children.
struct Gathered {
    StorageTree::Item item; // its name is in the folder's `names`
    qsizetype nameOffset = 0;
    Index first = StorageTree::none;
    quint32 count = 0;
};

struct OpenFolder {
    StorageTree::Item self;
    QByteArray name;
    QByteArray names;
    std::vector<Gathered> children;
};

bool isOtherFileSystem(const QByteArray& excluded)
{
    // Mount points ncdu did not enter: another file system, a kernel one, a macOS firm link.
    return excluded == "otherfs" || excluded == "othfs" || excluded == "kernfs" || excluded == "frmlnk";
}

Kind kindOf(const Details& details, bool isList)
{
    const quint64 type = details.mode.value_or(0) & typeBits;
    if (isList || isOtherFileSystem(details.excluded) || type == folderType)
        return Kind::folder;
    if (type == linkType)
        return Kind::link;
    return details.notRegular ? Kind::special : Kind::file;
}

class ExportReader {
public:
    ExportReader(QIODevice& in, const NcduExport::ReadOptions& options)
        : m_scan(in, options.cancelled)
        , m_options(options)
        , m_mostItems(std::min(options.mostItems, StorageTree::mostItems))
    {
    }

    StorageTree read()
    {
        if (m_scan.peek() != '[')
            m_scan.refuse(NcduExportText::notAnExport());
        m_scan.take();
        m_scan.peek();
        const qint64 majorAt = m_scan.offset();
        const quint64 major = version();
        if (major != 1)
            JsonByteScanner::refuseAt(majorAt, NcduExportText::unsupportedMajorVersion(major));
        m_scan.expect(',', NcduExportText::expectedCommaOrEnd);
        version(); // the minor version: additions this reader may ignore
        m_scan.expect(',', NcduExportText::expectedCommaOrEnd);
        readMetadata();
        m_scan.expect(',', NcduExportText::expectedCommaOrEnd);
        if (m_scan.peek() != '[')
            refuseShape(NcduExportText::rootNotFolder());
        readFolders();
        // Whatever a later version of the format may add after the tree.
        while (m_scan.takeIf(','))
            m_scan.skipValue(NcduExport::deepestNesting);
        m_scan.expect(']', NcduExportText::expectedCommaOrEnd);
        if (m_scan.peek() >= 0)
            m_scan.refuse(NcduExportText::trailingContent());
        m_tree.finish();
        m_tree.origin.imported = true;
        return std::move(m_tree);
    }

private:
    // Refuses what is here for not being the part of the export it should be (or for being missing).
    [[noreturn]] void refuseShape(const QString& reason)
    {
        m_scan.refuse(m_scan.peek() < 0 ? NcduExportText::endsEarly() : reason);
    }

    quint64 version()
    {
        if (!m_scan.startsNumber())
            refuseShape(NcduExportText::notAnExport());
        const qint64 at = m_scan.offset();
        const JsonByteScanner::Number number = m_scan.readNumber();
        if (!number.whole || number.tooLarge || (number.negative && number.magnitude > 0) ||
            number.magnitude > 10000)
            JsonByteScanner::refuseAt(at, NcduExportText::versionOutOfRange());
        return number.magnitude;
    }

    // Only described, never needed: a value of another type than ncdu writes is passed over.
    void readMetadata()
    {
        if (m_scan.peek() != '{')
            refuseShape(NcduExportText::notAnExport());
        m_scan.take();
        if (m_scan.takeIf('}'))
            return;
        QByteArray key, value;
        do {
            readKey(key);
            if ((key == "progname" || key == "progver") && m_scan.peek() == '"') {
                if (m_scan.readString(value, longestMetadata))
                    (key == "progname" ? m_tree.origin.program : m_tree.origin.programVersion) =
                        QString::fromUtf8(value);
            } else if (key == "timestamp" && m_scan.startsNumber()) {
                const JsonByteScanner::Number seconds = m_scan.readNumber();
                if (seconds.whole && !seconds.negative && !seconds.tooLarge &&
                    seconds.magnitude <= quint64(latestTimestamp))
                    m_tree.origin.scanned =
                        QDateTime::fromSecsSinceEpoch(qint64(seconds.magnitude), QTimeZone::utc());
            } else {
                m_scan.skipValue(NcduExport::deepestNesting);
            }
        } while (m_scan.takeIf(','));
        m_scan.expect('}', NcduExportText::expectedCommaOrEnd);
    }

    void readKey(QByteArray& key)
    {
        if (m_scan.peek() != '"')
            m_scan.unexpected(m_scan.peek(), NcduExportText::expectedKey);
        m_scan.readString(key, longestKey); // a longer key stays empty: unknown
        m_scan.expect(':', NcduExportText::expectedColon);
    }

    void readFolders()
    {
        openFolder(true);
        while (!m_open.empty()) {
            if (m_scan.takeIf(']')) {
                closeFolder();
                continue;
            }
            m_scan.expect(',', NcduExportText::expectedCommaOrEnd);
            const int next = m_scan.peek();
            if (next == '[') {
                if (m_open.size() >= std::size_t(NcduExport::deepestNesting))
                    m_scan.refuse(NcduExportText::nestedTooDeep(NcduExport::deepestNesting));
                openFolder(false);
            } else if (next == '{') {
                Details details = readDetails(false, false);
                OpenFolder& folder = m_open.back();
                folder.children.push_back({details.item, folder.names.size()});
                folder.children.back().item.name = {};
                folder.names += details.name;
            } else {
                m_scan.unexpected(next, NcduExportText::expectedItem);
            }
        }
    }

    void openFolder(bool isRoot)
    {
        m_scan.take(); // the list's bracket
        if (m_scan.peek() != '{')
            refuseShape(NcduExportText::folderWithoutDetails());
        Details details = readDetails(isRoot, true);
        if (isRoot) {
            m_tree.origin.rootPath = details.name;
            m_tree.origin.device = details.device.value_or(0);
        }
        m_open.push_back({details.item, std::move(details.name), {}, {}});
    }

    void closeFolder()
    {
        OpenFolder folder = std::move(m_open.back());
        m_open.pop_back();
        const auto [first, count] = storeChildren(folder);
        if (m_open.empty()) {
            folder.self.name = folder.name;
            const Index root = m_tree.addRoot(folder.self);
            if (count > 0)
                m_tree.adopt(root, first, count);
            return;
        }
        OpenFolder& parent = m_open.back();
        folder.self.name = {};
        parent.children.push_back({folder.self, parent.names.size(), first, count});
        parent.names += folder.name;
    }

    // The folder's children as one block of the tree, each child folder adopting its own block.
    std::pair<Index, quint32> storeChildren(const OpenFolder& folder)
    {
        if (folder.children.empty())
            return {StorageTree::none, 0};
        m_block.clear();
        for (std::size_t at = 0; at < folder.children.size(); ++at) {
            const Gathered& child = folder.children[at];
            const qsizetype end =
                at + 1 < folder.children.size() ? folder.children[at + 1].nameOffset : folder.names.size();
            m_block.push_back(child.item);
            m_block.back().name =
                QByteArrayView(folder.names).sliced(child.nameOffset, end - child.nameOffset);
        }
        const Index first = m_tree.addBlock(m_block);
        if (first == StorageTree::none)
            m_scan.refuse(NcduExportText::tooManyItems(StorageTree::mostItems));
        for (std::size_t at = 0; at < folder.children.size(); ++at)
            if (folder.children[at].count > 0)
                m_tree.adopt(first + Index(at), folder.children[at].first, folder.children[at].count);
        return {first, quint32(folder.children.size())};
    }

    Details readDetails(bool isRoot, bool isList)
    {
        const qint64 start = m_scan.offset();
        countItem(start);
        m_scan.expect('{', NcduExportText::expectedItem);
        Details details;
        QByteArray key;
        if (m_scan.peek() != '}') {
            do {
                readKey(key);
                readField(key, details);
            } while (m_scan.takeIf(','));
        }
        m_scan.expect('}', NcduExportText::expectedCommaOrEnd);
        checkName(details, isRoot, start);
        StorageTree::Item& item = details.item;
        item.kind = kindOf(details, isList);
        if (details.readError)
            item.flags |= StorageTree::unreadable;
        if (isOtherFileSystem(details.excluded))
            item.flags |= StorageTree::otherFileSystem;
        else if (!details.excluded.isEmpty())
            item.flags |= StorageTree::excluded;
        if (details.linkCounted && item.kind != Kind::folder)
            item.flags |= StorageTree::hardLinked;
        return details;
    }

    // A key given twice counts as its last value.
    void readField(const QByteArray& key, Details& details)
    {
        m_scan.peek(); // past white space
        const qint64 at = m_scan.offset();
        if (key == "name") {
            if (m_scan.peek() != '"')
                m_scan.refuse(NcduExportText::notText(key));
            if (!m_scan.readString(details.name, NcduExport::longestName))
                JsonByteScanner::refuseAt(at, NcduExportText::nameTooLong(NcduExport::longestName));
            details.named = true;
        } else if (key == "asize") {
            details.item.apparent = wholeNumber(key, 0, NcduExport::largestSize);
        } else if (key == "dsize") {
            details.item.allocated = wholeNumber(key, 0, NcduExport::largestSize);
        } else if (key == "mtime") {
            details.item.modified = wholeNumber(key, -NcduExport::largestSize, NcduExport::largestSize);
        } else if (key == "ino") {
            details.item.inode = unsignedNumber(key);
        } else if (key == "dev") {
            details.device = unsignedNumber(key);
        } else if (key == "mode") {
            details.mode = unsignedNumber(key);
        } else if (key == "nlink") {
            details.linkCounted = unsignedNumber(key) > 1;
        } else if (key == "hlnkc") {
            details.linkCounted = trueOrFalse(key);
        } else if (key == "read_error") {
            details.readError = trueOrFalse(key);
        } else if (key == "notreg") {
            details.notRegular = trueOrFalse(key);
        } else if (key == "excluded") {
            if (m_scan.peek() != '"')
                m_scan.refuse(NcduExportText::notText(key));
            if (!m_scan.readString(details.excluded, longestKey))
                details.excluded = "pattern"; // a reason this reader does not know
        } else {
            m_scan.skipValue(NcduExport::deepestNesting);
        }
    }

    void checkName(const Details& details, bool isRoot, qint64 start) const
    {
        const QByteArray& name = details.name;
        if (!details.named)
            JsonByteScanner::refuseAt(start, NcduExportText::missingName());
        // The root's name is the analysed folder's path; any other is one name in its folder.
        if (isRoot && (name.isEmpty() || name.contains('\0')))
            JsonByteScanner::refuseAt(start, NcduExportText::invalidRootName());
        if (!isRoot &&
            (name.isEmpty() || name == "." || name == ".." || name.contains('/') || name.contains('\0')))
            JsonByteScanner::refuseAt(start, NcduExportText::invalidName(name));
    }

    void countItem(qint64 at)
    {
        if (++m_items > m_mostItems)
            JsonByteScanner::refuseAt(at, NcduExportText::tooManyItems(m_mostItems));
        if (m_items % progressEvery == 0 && m_options.progress)
            m_options.progress(m_items);
    }

    qint64 wholeNumber(const QByteArray& key, qint64 least, qint64 most)
    {
        m_scan.peek();
        const qint64 at = m_scan.offset();
        const auto refuse = [&] {
            JsonByteScanner::refuseAt(
                at, NcduExportText::notWholeNumber(key, QString::number(least), QString::number(most)));
        };
        if (!m_scan.startsNumber())
            refuse();
        const JsonByteScanner::Number number = m_scan.readNumber();
        if (!number.whole || number.tooLarge)
            refuse();
        const quint64 bound = number.negative ? quint64(-least) : quint64(most);
        if (number.magnitude > bound)
            refuse();
        return number.negative ? -qint64(number.magnitude) : qint64(number.magnitude);
    }

    quint64 unsignedNumber(const QByteArray& key)
    {
        m_scan.peek();
        const qint64 at = m_scan.offset();
        const bool isNumber = m_scan.startsNumber();
        const JsonByteScanner::Number number = isNumber ? m_scan.readNumber() : JsonByteScanner::Number{};
        if (!isNumber || !number.whole || number.tooLarge || (number.negative && number.magnitude > 0))
            JsonByteScanner::refuseAt(
                at, NcduExportText::notWholeNumber(key, QStringLiteral("0"),
                                                   QString::number(std::numeric_limits<quint64>::max())));
        return number.magnitude;
    }

    bool trueOrFalse(const QByteArray& key)
    {
        const int byte = m_scan.peek();
        if (byte != 't' && byte != 'f')
            m_scan.refuse(NcduExportText::notTrueOrFalse(key));
        return m_scan.readLiteral() > 0;
    }

    JsonByteScanner m_scan;
    const NcduExport::ReadOptions& m_options;
    const std::size_t m_mostItems;
    std::size_t m_items = 0;
    StorageTree m_tree;
    std::vector<OpenFolder> m_open;
    std::vector<StorageTree::Item> m_block;
};

} // namespace

std::variant<StorageTree, QString> NcduExport::read(QIODevice& in, const ReadOptions& options)
{
    try {
        return ExportReader(in, options).read();
    } catch (const JsonFault& fault) {
        return NcduExportText::refused(fault.offset, fault.reason);
    }
}
