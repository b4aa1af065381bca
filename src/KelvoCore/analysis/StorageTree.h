#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

// Everything below an analysed folder as one walk found it (or as an imported scan describes it),
// kept so that moving through it never walks the disk again. Items live in fixed-size blocks of
// plain records (no object per item): a folder's children are one run of consecutive indices, and
// every name sits in one arena of bytes. About 56 bytes per item plus its name.
class StorageTree {
public:
    using Index = quint32;
    static constexpr Index none = ~Index(0);

    enum class Kind : quint8 { file, folder, package, link, special };
    enum Flag : quint8 {
        unreadable = 1,      // a folder that could not be listed: what is below it is unknown
        otherFileSystem = 2, // a folder on another file system, not entered
        hardLinked = 4,      // a file with more than one name: its bytes count once in the tree
        excluded = 8,        // left out by the scan that made an imported tree
        laterLink = 16,      // a further name of a hard-linked file: its bytes count at its first name
        gone = 32,           // moved away since the walk: no longer among its folder's children
    };

    // One item as a walk or an import gives it. For a folder the sizes and count are its own; the
    // tree adds what is below when it is finished.
    struct Item {
        QByteArrayView name;
        Kind kind = Kind::file;
        quint8 flags = 0;
        qint64 allocated = 0; // bytes on disk
        qint64 apparent = 0;  // the size the file claims
        qint64 modified = 0;  // seconds since 1970
        quint64 inode = 0;
    };

    struct Node {
        qint64 allocated = 0; // with everything below, once finished
        qint64 apparent = 0;
        qint64 modified = 0;
        quint64 inode = 0;
        Index parent = none;
        Index firstChild = 0; // children: [firstChild, firstChild + childCount)
        quint32 childCount = 0;
        quint32 items = 1; // itself and everything below, once finished
        quint32 nameOffset = 0;
        quint16 nameLength = 0;
        Kind kind = Kind::file;
        quint8 flags = 0;

        bool isFolder() const { return kind == Kind::folder; }
        bool has(Flag flag) const { return flags & flag; }
    };

    // Where the tree came from: this machine's walk, or a scan exported by another program.
    struct Origin {
        QByteArray rootPath; // the analysed folder, as bytes
        quint64 device = 0;  // the analysed folder's file system
        QString program;     // "kelvo", "ncdu", "gdu", ...; empty when unknown
        QString programVersion;
        std::optional<QDateTime> scanned;
        bool imported = false; // an imported tree is only looked at: nothing in it is acted on
    };

    StorageTree();
    StorageTree(StorageTree&&) noexcept;
    StorageTree& operator=(StorageTree&&) noexcept;
    ~StorageTree();

    // Building. Each folder's children are added as one block, which the folder adopts; the root is
    // added by itself, first (a walk) or when it is complete (an import). Safe to call from several threads
    // at once (a walk's workers); a node's fields are written only by the thread that added it or adopts its
    // block.
    Index addRoot(const Item& root);
    // none, adding nothing, when the tree would then hold more than `most` items.
    Index addBlock(std::span<const Item> items, std::size_t most = mostItems);
    void adopt(Index folder, Index first, quint32 count);
    // Sums every folder's sizes and item count from what is below it, a hard link's bytes counted at
    // its first name in depth-first order only; a folder's modification time becomes the latest of its
    // own and everything below it. Call once, after building.
    void finish();

    Index root() const { return m_root; }
    std::size_t size() const { return m_count; }
    const Node& node(Index index) const { return m_blocks[index >> blockBits][index & blockMask]; }
    Node& node(Index index) { return m_blocks[index >> blockBits][index & blockMask]; }
    QByteArrayView name(Index index) const;
    // A folder's children as indices (each folder's are consecutive), those gone passed over.
    class Children {
    public:
        class Iterator {
        public:
            using value_type = Index;
            using difference_type = std::ptrdiff_t;
            Iterator() = default;
            Iterator(const StorageTree* tree, Index at, Index end)
                : m_tree(tree)
                , m_at(at)
                , m_end(end)
            {
                skipGone();
            }
            Index operator*() const { return m_at; }
            Iterator& operator++()
            {
                ++m_at;
                skipGone();
                return *this;
            }
            Iterator operator++(int)
            {
                Iterator before = *this;
                ++*this;
                return before;
            }
            bool operator==(const Iterator& other) const { return m_at == other.m_at; }

        private:
            void skipGone()
            {
                while (m_at < m_end && m_tree->node(m_at).has(gone))
                    ++m_at;
            }
            const StorageTree* m_tree = nullptr;
            Index m_at = 0, m_end = 0;
        };
        Children(const StorageTree* tree, Index first, Index end)
            : m_tree(tree)
            , m_first(first)
            , m_end(end)
        {
        }
        Iterator begin() const { return {m_tree, m_first, m_end}; }
        Iterator end() const { return {m_tree, m_end, m_end}; }

    private:
        const StorageTree* m_tree;
        Index m_first, m_end;
    };
    Children children(Index folder) const
    {
        const Node& parent = node(folder);
        return {this, parent.firstChild, parent.firstChild + parent.childCount};
    }
    // Takes an item (and everything below it) out of the tree after it was moved away: every folder
    // above it loses its bytes and items at once, with no new walk.
    void remove(Index index);
    // The item's path as bytes: the root's path, then each name below it.
    QByteArray path(Index index) const;
    // The item below `folder` reached by a relative path of names ("a/b/c"); none when there is none.
    Index find(Index folder, QByteArrayView relative) const;

    Origin origin;

    // The most items a tree holds; a walk or an import that meets more stops and says so.
    static constexpr std::size_t mostItems = std::size_t(1) << 28;
    // Bytes the tree holds: its blocks and its names.
    std::size_t memoryBytes() const;

private:
    static constexpr int blockBits = 16;
    static constexpr Index blockMask = (Index(1) << blockBits) - 1;
    static constexpr std::size_t nameChunkBytes = std::size_t(1) << 20;

    quint32 storeName(QByteArrayView name);

    mutable std::mutex m_mutex;
    std::vector<std::unique_ptr<Node[]>> m_blocks; // reserved up front: never moves while building
    std::vector<std::unique_ptr<char[]>> m_names;
    std::size_t m_namesUsed = 0; // in the last chunk
    std::size_t m_count = 0;
    Index m_root = none;
};
