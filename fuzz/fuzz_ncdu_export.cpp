// An ncdu export of any bytes: read without harm (refused with a message, or read into a tree), and a
// tree that was read writes an export that reads back as the same tree.
#include "FuzzSupport.h"

#include "analysis/NcduExport.h"

#include <QBuffer>

namespace {

std::variant<StorageTree, QString> readBytes(const QByteArray& bytes)
{
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    NcduExport::ReadOptions options;
    options.mostItems = 100000; // a small input cannot hold more; keeps each run quick
    return NcduExport::read(in, options);
}

// Both trees depth first, item by item: names, kinds, flags, totals, times and inodes.
bool same(const StorageTree& a, const StorageTree& b)
{
    if (a.size() != b.size() || a.origin.rootPath != b.origin.rootPath || a.origin.device != b.origin.device)
        return false;
    std::vector<std::pair<StorageTree::Index, StorageTree::Index>> open{{a.root(), b.root()}};
    while (!open.empty()) {
        const auto [x, y] = open.back();
        open.pop_back();
        const StorageTree::Node &p = a.node(x), &q = b.node(y);
        if (a.name(x) != b.name(y) || p.kind != q.kind || p.flags != q.flags || p.allocated != q.allocated ||
            p.apparent != q.apparent || p.modified != q.modified || p.inode != q.inode ||
            p.items != q.items || p.childCount != q.childCount)
            return false;
        for (quint32 at = 0; at < p.childCount; ++at)
            open.emplace_back(p.firstChild + at, q.firstChild + at);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto read = readBytes(FuzzSupport::bytes(data, size));
    if (const QString* refusal = std::get_if<QString>(&read)) {
        KELVO_FUZZ_CHECK(refusal->contains(QStringLiteral("at byte")));
        return 0;
    }
    const StorageTree& tree = std::get<StorageTree>(read);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    KELVO_FUZZ_CHECK(!NcduExport::write(tree, out));
    const auto again = readBytes(out.data());
    KELVO_FUZZ_CHECK(std::holds_alternative<StorageTree>(again));
    KELVO_FUZZ_CHECK(same(tree, std::get<StorageTree>(again)));
    return 0;
}
