#include "analysis/StorageTreemap.h"

#include <algorithm>
#include <cmath>

namespace StorageTreemap {

namespace {

using Index = StorageTree::Index;

struct Weighted {
    Index index;
    qint64 bytes;
    int merged = 0;
};

// The worst aspect ratio of a row of areas laid along a side of length `side`.
double worstRatio(double sum, double smallest, double largest, double side)
{
    const double sideSquared = side * side, sumSquared = sum * sum;
    return std::max(sideSquared * largest / sumSquared, sumSquared / (sideSquared * smallest));
}

// Squarified layout (Bruls, Huizing and van Wijk): rows along the shorter side, each row grown while
// that keeps its rectangles closer to square. `items` are largest first.
std::vector<QRectF> squarify(const std::vector<Weighted>& items, QRectF area)
{
    std::vector<QRectF> rects(items.size());
    double total = 0;
    for (const Weighted& item : items)
        total += double(item.bytes);
    if (total <= 0 || area.isEmpty())
        return rects;
    const double scale = area.width() * area.height() / total;
    std::size_t start = 0;
    while (start < items.size()) {
        const double side = std::min(area.width(), area.height());
        double sum = 0, smallest = 0, largest = 0, ratio = INFINITY;
        std::size_t end = start;
        while (end < items.size()) {
            const double size = double(items[end].bytes) * scale;
            const double nextSum = sum + size;
            const double nextRatio = worstRatio(nextSum, end == start ? size : std::min(smallest, size),
                                                std::max(largest, size), side);
            if (end > start && nextRatio > ratio)
                break;
            sum = nextSum;
            smallest = end == start ? size : std::min(smallest, size);
            largest = std::max(largest, size);
            ratio = nextRatio;
            ++end;
        }
        // The row takes a strip of the area along its shorter side.
        const bool wide = area.width() >= area.height();
        const double thickness = side > 0 ? sum / side : 0;
        double offset = 0;
        for (std::size_t i = start; i < end; ++i) {
            const double length = sum > 0 ? double(items[i].bytes) * scale / sum * side : 0;
            rects[i] = wide ? QRectF(area.left(), area.top() + offset, thickness, length)
                            : QRectF(area.left() + offset, area.top(), length, thickness);
            offset += length;
        }
        area = wide ? area.adjusted(thickness, 0, 0, 0) : area.adjusted(0, thickness, 0, 0);
        start = end;
    }
    return rects;
}

// The children worth a tile, largest first; those too small to see as one merged entry at the end.
std::vector<Weighted> weighted(const StorageTree& tree, Index folder, double area, double smallestArea)
{
    std::vector<Weighted> items;
    const double folderBytes = double(tree.node(folder).apparent);
    for (const Index child : tree.children(folder))
        if (const qint64 bytes = tree.node(child).apparent; bytes > 0)
            items.push_back({child, bytes});
    // Equal sizes by name, so a folder is drawn the same way every time.
    std::sort(items.begin(), items.end(), [&tree](const Weighted& a, const Weighted& b) {
        return a.bytes != b.bytes ? a.bytes > b.bytes : tree.name(a.index) < tree.name(b.index);
    });
    if (folderBytes <= 0)
        return {};
    Weighted rest{StorageTree::none, 0};
    while (!items.empty() && double(items.back().bytes) / folderBytes * area < smallestArea) {
        rest.bytes += items.back().bytes;
        ++rest.merged;
        items.pop_back();
    }
    if (rest.merged > 0)
        items.push_back(rest);
    return items;
}

void place(const StorageTree& tree, Index folder, const QRectF& area, int depth, const Options& options,
           std::vector<Tile>& tiles)
{
    const std::vector<Weighted> items =
        weighted(tree, folder, area.width() * area.height(), options.smallestArea);
    const std::vector<QRectF> rects = squarify(items, area);
    for (std::size_t i = 0; i < items.size(); ++i) {
        tiles.push_back({items[i].index, folder, rects[i], depth, items[i].bytes, items[i].merged});
        const Index child = items[i].index;
        if (child == StorageTree::none || !tree.node(child).isFolder() || depth + 1 >= options.levels)
            continue;
        const QRectF inner =
            rects[i].adjusted(options.padding, options.header, -options.padding, -options.padding);
        if (rects[i].width() >= options.smallestFolder && rects[i].height() >= options.smallestFolder &&
            !inner.isEmpty())
            place(tree, child, inner, depth + 1, options, tiles);
    }
}

} // namespace

std::vector<Tile> layout(const StorageTree& tree, StorageTree::Index folder, const QRectF& bounds,
                         const Options& options)
{
    std::vector<Tile> tiles;
    if (folder != StorageTree::none && folder < tree.size())
        place(tree, folder, bounds, 0, options, tiles);
    return tiles;
}

} // namespace StorageTreemap
