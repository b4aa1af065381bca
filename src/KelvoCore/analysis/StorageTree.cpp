#include "analysis/StorageTree.h"

#include "vocabulary/ByteCount.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <unordered_set>

StorageTree::StorageTree()
{
    m_blocks.resize(mostItems >> blockBits);
}

StorageTree::StorageTree(StorageTree&& other) noexcept
{
    *this = std::move(other);
}

StorageTree& StorageTree::operator=(StorageTree&& other) noexcept
{
    origin = std::move(other.origin);
    m_blocks = std::move(other.m_blocks);
    m_names = std::move(other.m_names);
    m_namesUsed = std::exchange(other.m_namesUsed, 0);
    m_count = std::exchange(other.m_count, 0);
    m_root = std::exchange(other.m_root, none);
    other.m_blocks.resize(mostItems >> blockBits);
    return *this;
}

StorageTree::~StorageTree() = default;

quint32 StorageTree::storeName(QByteArrayView name)
{
    const std::size_t length = std::min<std::size_t>(name.size(), 0xFFFF);
    if (m_names.empty() || m_namesUsed + length > nameChunkBytes) {
        m_names.push_back(std::make_unique_for_overwrite<char[]>(nameChunkBytes));
        m_namesUsed = 0;
    }
    std::memcpy(m_names.back().get() + m_namesUsed, name.data(), length);
    const std::size_t offset = (m_names.size() - 1) * nameChunkBytes + m_namesUsed;
    m_namesUsed += length;
    return quint32(offset);
}

QByteArrayView StorageTree::name(Index index) const
{
    const Node& item = node(index);
    return {m_names[item.nameOffset / nameChunkBytes].get() + item.nameOffset % nameChunkBytes,
            qsizetype(item.nameLength)};
}

StorageTree::Index StorageTree::addBlock(std::span<const Item> items, std::size_t most)
{
    const std::lock_guard lock(m_mutex);
    if (m_count + items.size() > std::min(most, mostItems))
        return none;
    const Index first = Index(m_count);
    for (const Item& item : items) {
        const Index index = Index(m_count);
        auto& block = m_blocks[index >> blockBits];
        if (!block)
            block = std::make_unique<Node[]>(std::size_t(1) << blockBits);
        Node& stored = block[index & blockMask];
        stored = Node{item.allocated, item.apparent, item.modified, item.inode};
        stored.nameLength = quint16(std::min<qsizetype>(item.name.size(), 0xFFFF));
        stored.nameOffset = storeName(item.name);
        stored.kind = item.kind;
        stored.flags = item.flags;
        ++m_count;
    }
    return first;
}

StorageTree::Index StorageTree::addRoot(const Item& root)
{
    m_root = addBlock(std::span(&root, 1));
    return m_root;
}

void StorageTree::adopt(Index folder, Index first, quint32 count)
{
    Node& parent = node(folder);
    parent.firstChild = first;
    parent.childCount = count;
    for (Index child = first; child < first + count; ++child)
        node(child).parent = folder;
}

void StorageTree::finish()
{
    if (m_root == none)
        return;
    // Depth first, children in order; a folder is summed once all its children are.
    std::unordered_set<quint64> countedLinks;
    struct Visit {
        Index index;
        Index next; // the next child to enter
    };
    std::vector<Visit> stack{{m_root, node(m_root).firstChild}};
    while (!stack.empty()) {
        Visit& visit = stack.back();
        Node& folder = node(visit.index);
        const Index end = folder.firstChild + folder.childCount;
        if (visit.next < end) {
            const Index child = visit.next++;
            Node& item = node(child);
            if (item.isFolder() && item.childCount > 0) {
                stack.push_back({child, item.firstChild});
                continue;
            }
            if (item.has(hardLinked) && !countedLinks.insert(item.inode).second)
                item.flags |= laterLink;
            continue;
        }
        // Every child is summed: add them up.
        for (Index child = folder.firstChild; child < end; ++child) {
            const Node& item = node(child);
            folder.items += item.items;
            folder.modified = std::max(folder.modified, item.modified);
            if (item.has(laterLink))
                continue;
            folder.allocated = ByteCount::saturatingAdd(folder.allocated, item.allocated);
            folder.apparent = ByteCount::saturatingAdd(folder.apparent, item.apparent);
        }
        stack.pop_back();
    }
}

void StorageTree::remove(Index index)
{
    Node& item = node(index);
    if (index == m_root || item.has(gone))
        return;
    item.flags |= gone;
    const bool counted = !item.has(laterLink);
    for (Index above = item.parent; above != none; above = node(above).parent) {
        Node& folder = node(above);
        folder.items -= item.items;
        if (counted) {
            folder.allocated -= item.allocated;
            folder.apparent -= item.apparent;
        }
    }
}

QByteArray StorageTree::path(Index index) const
{
    std::vector<Index> chain;
    for (Index at = index; at != m_root && at != none; at = node(at).parent)
        chain.push_back(at);
    QByteArray path = origin.rootPath;
    for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
        if (!path.endsWith('/'))
            path += '/';
        path += name(*at).toByteArray();
    }
    return path;
}

StorageTree::Index StorageTree::find(Index folder, QByteArrayView relative) const
{
    Index at = folder;
    for (const QByteArrayView part : QByteArray(relative.toByteArray()).split('/')) {
        if (part.isEmpty())
            continue;
        Index match = none;
        for (const Index child : children(at))
            if (name(child) == part) {
                match = child;
                break;
            }
        if (match == none)
            return none;
        at = match;
    }
    return at;
}

std::size_t StorageTree::memoryBytes() const
{
    const std::size_t blocks = (m_count + blockMask) >> blockBits;
    return blocks * (sizeof(Node) << blockBits) + m_names.size() * nameChunkBytes;
}
