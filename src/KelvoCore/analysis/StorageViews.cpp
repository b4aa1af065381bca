#include "analysis/StorageViews.h"

#include "vocabulary/ByteCount.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <queue>

namespace StorageViews {

namespace {

// Every item below the folder, depth first, passed to `visit`; bundles are items, not entered.
template <typename Visit> void eachBelow(const StorageTree& tree, Index folder, Visit visit)
{
    std::vector<Index> folders{folder};
    while (!folders.empty()) {
        const Index at = folders.back();
        folders.pop_back();
        for (const Index child : tree.children(at)) {
            visit(child);
            if (tree.node(child).isFolder())
                folders.push_back(child);
        }
    }
}

// Keeps the `limit` largest of the items offered, by apparent size, ties by index.
class Largest {
public:
    Largest(const StorageTree& tree, std::size_t limit)
        : m_tree(tree)
        , m_limit(limit)
        , m_heap(Ranks{&tree})
    {
    }

    void offer(Index index)
    {
        if (m_limit == 0)
            return;
        if (m_heap.size() < m_limit) {
            m_heap.push(index);
        } else if (Ranks{&m_tree}(index, m_heap.top())) {
            m_heap.pop();
            m_heap.push(index);
        }
    }

    std::vector<Index> take()
    {
        std::vector<Index> all;
        for (; !m_heap.empty(); m_heap.pop())
            all.push_back(m_heap.top());
        std::reverse(all.begin(), all.end());
        return all;
    }

private:
    // True when a ranks above b: larger, or as large and first by name (then by index), so equal
    // sizes come in the same order whichever thread of the walk met them first.
    struct Ranks {
        const StorageTree* tree;
        bool operator()(Index a, Index b) const
        {
            const qint64 sizeA = tree->node(a).apparent, sizeB = tree->node(b).apparent;
            if (sizeA != sizeB)
                return sizeA > sizeB;
            const QByteArrayView nameA = tree->name(a), nameB = tree->name(b);
            return nameA != nameB ? nameA < nameB : a < b;
        }
    };
    const StorageTree& m_tree;
    std::size_t m_limit;
    std::priority_queue<Index, std::vector<Index>, Ranks> m_heap; // the smallest kept on top
};

struct Extensions {
    FileType type;
    std::initializer_list<const char*> names;
};

const std::array<Extensions, 7> knownExtensions{{
    {FileType::video, {"mp4", "m4v", "mov", "mkv", "avi", "webm", "wmv", "flv", "mpg", "mpeg", "ts"}},
    {FileType::images,
     {"jpg", "jpeg", "png", "gif", "heic", "heif", "webp", "tif", "tiff", "bmp", "raw", "cr2", "nef", "dng",
      "psd", "svg"}},
    {FileType::audio, {"mp3", "m4a", "aac", "flac", "wav", "aiff", "aif", "ogg", "opus", "wma", "alac"}},
    {FileType::archives, {"zip", "tar", "gz", "tgz", "bz2", "xz", "zst", "7z", "rar", "lz", "lzma", "cab"}},
    {FileType::diskImages,
     {"dmg", "iso", "img", "pkg", "mpkg", "deb", "rpm", "appimage", "snap", "flatpak", "vmdk", "qcow2", "vdi",
      "sparseimage", "sparsebundle", "ipa", "apk", "msi", "exe"}},
    {FileType::code,
     {"c",    "h",   "cc",   "cpp",  "hpp", "cxx", "m",   "mm",    "swift", "rs",  "go",   "py",   "js",
      "ts",   "tsx", "jsx",  "java", "kt",  "rb",  "php", "cs",    "sh",    "qml", "json", "yaml", "yml",
      "toml", "xml", "html", "css",  "o",   "a",   "so",  "dylib", "class", "jar", "pyc",  "wasm"}},
    {FileType::documents,
     {"pdf", "doc", "docx", "xls", "xlsx", "ppt", "pptx", "odt", "ods", "odp", "pages", "numbers", "key",
      "txt", "md", "rtf", "epub", "csv", "tex"}},
}};

} // namespace

std::vector<Index> sortedChildren(const StorageTree& tree, Index folder, SortKey key)
{
    std::vector<Index> children;
    for (const Index child : tree.children(folder))
        children.push_back(child);
    const auto byName = [&](Index a, Index b) {
        const int order = QString::fromUtf8(tree.name(a)).localeAwareCompare(QString::fromUtf8(tree.name(b)));
        return order != 0 ? order < 0 : a < b;
    };
    const auto before = [&](Index a, Index b) {
        const StorageTree::Node &first = tree.node(a), &second = tree.node(b);
        switch (key) {
        case SortKey::size:
            if (first.apparent != second.apparent)
                return first.apparent > second.apparent;
            break;
        case SortKey::items:
            if (first.items != second.items)
                return first.items > second.items;
            break;
        case SortKey::modified:
            if (first.modified != second.modified)
                return first.modified > second.modified;
            break;
        case SortKey::name:
            break;
        }
        return byName(a, b);
    };
    std::sort(children.begin(), children.end(), before);
    return children;
}

qint64 filesBelow(const StorageTree& tree, Index folder)
{
    qint64 files = 0;
    eachBelow(tree, folder,
              [&](Index item) { files += tree.node(item).kind == StorageTree::Kind::file ? 1 : 0; });
    return files;
}

std::vector<Index> largestFiles(const StorageTree& tree, Index folder, qint64 floor, std::size_t limit)
{
    Largest largest(tree, limit);
    eachBelow(tree, folder, [&](Index item) {
        const StorageTree::Node& node = tree.node(item);
        if (node.kind == StorageTree::Kind::file && node.apparent >= floor)
            largest.offer(item);
    });
    return largest.take();
}

OldFiles oldFiles(const StorageTree& tree, Index folder, const QDateTime& now, int months, std::size_t limit)
{
    const qint64 before = now.addMonths(-months).toSecsSinceEpoch();
    OldFiles old;
    Largest largest(tree, limit);
    eachBelow(tree, folder, [&](Index item) {
        const StorageTree::Node& node = tree.node(item);
        if (node.kind != StorageTree::Kind::file || node.modified >= before)
            return;
        largest.offer(item);
        ++old.count;
        if (!node.has(StorageTree::laterLink))
            old.bytes = ByteCount::saturatingAdd(old.bytes, node.apparent);
    });
    old.files = largest.take();
    return old;
}

FileType typeOf(QByteArrayView name)
{
    static const QHash<QByteArray, FileType> types = [] {
        QHash<QByteArray, FileType> all;
        for (const Extensions& group : knownExtensions)
            for (const char* extension : group.names)
                all.insert(QByteArray(extension), group.type);
        return all;
    }();
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0 || dot + 1 == name.size())
        return FileType::other;
    return types.value(name.sliced(dot + 1).toByteArray().toLower(), FileType::other);
}

std::vector<TypeTotal> sizesByType(const StorageTree& tree, Index folder)
{
    std::array<TypeTotal, 8> totals{};
    for (std::size_t i = 0; i < totals.size(); ++i)
        totals[i].type = FileType(i);
    eachBelow(tree, folder, [&](Index item) {
        const StorageTree::Node& node = tree.node(item);
        if ((node.kind != StorageTree::Kind::file && node.kind != StorageTree::Kind::package) ||
            node.has(StorageTree::laterLink))
            return;
        TypeTotal& total = totals[std::size_t(
            node.kind == StorageTree::Kind::package ? FileType::diskImages : typeOf(tree.name(item)))];
        total.bytes = ByteCount::saturatingAdd(total.bytes, node.apparent);
        ++total.files;
    });
    std::vector<TypeTotal> found;
    std::copy_if(totals.begin(), totals.end(), std::back_inserter(found),
                 [](const TypeTotal& t) { return t.files > 0; });
    std::stable_sort(found.begin(), found.end(),
                     [](const TypeTotal& a, const TypeTotal& b) { return a.bytes > b.bytes; });
    return found;
}

} // namespace StorageViews
