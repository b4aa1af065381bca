// Writing a storage tree as an ncdu export, streamed in chunks.
#include "analysis/NcduExport.h"

#include "analysis/NcduExportText.h"
#include "vocabulary/ByteCount.h"

#include <QDateTime>
#include <QFileDevice>

namespace {

using Index = StorageTree::Index;
using Kind = StorageTree::Kind;

constexpr qsizetype chunkBytes = 64 * 1024;
// A symbolic link's mode: its type, and the permissions a link has on Linux (they mean nothing).
constexpr int linkMode = 0120777;

// An item's own sizes: a finished folder's totals less what its children add to them (a further
// name of a hard-linked file adds nothing).
std::pair<qint64, qint64> ownSizes(const StorageTree& tree, Index index)
{
    const StorageTree::Node& node = tree.node(index);
    qint64 allocated = node.allocated, apparent = node.apparent;
    if (!node.isFolder())
        return {allocated, apparent};
    for (const Index child : tree.children(index)) {
        const StorageTree::Node& item = tree.node(child);
        if (item.has(StorageTree::laterLink))
            continue;
        allocated = ByteCount::saturatingSubtract(allocated, item.allocated);
        apparent = ByteCount::saturatingSubtract(apparent, item.apparent);
    }
    return {std::max<qint64>(allocated, 0), std::max<qint64>(apparent, 0)};
}

class ExportWriter {
public:
    explicit ExportWriter(QIODevice& out)
        : m_out(out)
    {
        m_chunk.reserve(chunkBytes + 1024);
    }

    bool write(const StorageTree& tree)
    {
        const qint64 timestamp = tree.origin.scanned ? tree.origin.scanned->toSecsSinceEpoch()
                                                     : QDateTime::currentSecsSinceEpoch();
        m_chunk += R"([1,2,{"progname":"kelvo","progver":")" KELVO_VERSION R"(","timestamp":)";
        m_chunk += QByteArray::number(timestamp) + "},\n[";
        details(tree, tree.root(), true);
        // Depth first, without recursion: the next child of each open folder.
        struct Open {
            Index next, end;
        };
        const StorageTree::Node& root = tree.node(tree.root());
        std::vector<Open> open{{root.firstChild, root.firstChild + root.childCount}};
        while (!open.empty()) {
            Open& folder = open.back();
            if (folder.next == folder.end) {
                m_chunk += ']';
                open.pop_back();
                continue;
            }
            const Index child = folder.next++;
            const StorageTree::Node& node = tree.node(child);
            m_chunk += ",\n";
            if (node.isFolder()) {
                m_chunk += '[';
                open.push_back({node.firstChild, node.firstChild + node.childCount});
            }
            details(tree, child, false);
            if (m_chunk.size() >= chunkBytes && !flush())
                return false;
        }
        m_chunk += "]\n";
        if (!flush())
            return false;
        // A file keeps what was written in its own buffer until flushed: a full disk shows then.
        auto* file = qobject_cast<QFileDevice*>(&m_out);
        return !file || file->flush();
    }

private:
    void details(const StorageTree& tree, Index index, bool isRoot)
    {
        const StorageTree::Node& node = tree.node(index);
        const auto [allocated, apparent] = ownSizes(tree, index);
        m_chunk += R"({"name":")";
        name(isRoot && !tree.origin.rootPath.isEmpty() ? QByteArrayView(tree.origin.rootPath)
                                                       : tree.name(index));
        m_chunk +=
            R"(","asize":)" + QByteArray::number(apparent) + R"(,"dsize":)" + QByteArray::number(allocated);
        if (isRoot)
            m_chunk += R"(,"dev":)" + QByteArray::number(tree.origin.device);
        if (node.inode != 0)
            m_chunk += R"(,"ino":)" + QByteArray::number(node.inode);
        if (node.has(StorageTree::hardLinked) && !node.isFolder())
            m_chunk += R"(,"hlnkc":true)";
        if (node.kind == Kind::link || node.kind == Kind::special)
            m_chunk += R"(,"notreg":true)";
        if (node.kind == Kind::link)
            m_chunk += R"(,"mode":)" + QByteArray::number(linkMode);
        // A finished folder's time is the latest below it: the tree keeps no other.
        if (node.modified != 0)
            m_chunk += R"(,"mtime":)" + QByteArray::number(node.modified);
        if (node.has(StorageTree::unreadable))
            m_chunk += R"(,"read_error":true)";
        if (node.has(StorageTree::otherFileSystem))
            m_chunk += R"(,"excluded":"otherfs")";
        else if (node.has(StorageTree::excluded))
            m_chunk += R"(,"excluded":"pattern")";
        m_chunk += '}';
    }

    // The name's bytes as they are, but for what a JSON string cannot hold as it is.
    void name(QByteArrayView bytes)
    {
        qsizetype plainFrom = 0;
        for (qsizetype at = 0; at < bytes.size(); ++at) {
            const quint8 byte = quint8(bytes[at]);
            if (byte >= 0x20 && byte != '"' && byte != '\\' && byte != 0x7F)
                continue;
            m_chunk.append(bytes.sliced(plainFrom, at - plainFrom));
            plainFrom = at + 1;
            switch (byte) {
            case '"':
                m_chunk += "\\\"";
                break;
            case '\\':
                m_chunk += "\\\\";
                break;
            case '\n':
                m_chunk += "\\n";
                break;
            case '\r':
                m_chunk += "\\r";
                break;
            case '\t':
                m_chunk += "\\t";
                break;
            default:
                m_chunk += "\\u00";
                m_chunk += "0123456789abcdef"[byte >> 4];
                m_chunk += "0123456789abcdef"[byte & 0xF];
            }
        }
        m_chunk.append(bytes.sliced(plainFrom));
    }

    bool flush()
    {
        const bool written = m_out.write(m_chunk) == m_chunk.size();
        m_chunk.clear();
        return written;
    }

    QIODevice& m_out;
    QByteArray m_chunk;
};

} // namespace

std::optional<QString> NcduExport::write(const StorageTree& tree, QIODevice& out)
{
    if (tree.root() == StorageTree::none)
        return NcduExportText::nothingToWrite();
    if (!ExportWriter(out).write(tree))
        return NcduExportText::writeFailed(out.errorString());
    return std::nullopt;
}
