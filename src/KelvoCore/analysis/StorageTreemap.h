#pragma once

#include "analysis/StorageTree.h"

#include <QRectF>

#include <vector>

// A nested, squarified treemap of a folder: each child a rectangle whose area is its share of the
// folder's bytes, as close to square as the row it sits in allows, and a folder's rectangle holding
// its own children a few levels deep. Items too small to see are merged into one tile per folder.
namespace StorageTreemap {

struct Tile {
    StorageTree::Index index = StorageTree::none; // none for a merged tile of small items
    StorageTree::Index parent = StorageTree::none;
    QRectF rect;
    int depth = 0; // 0 for the folder's own children
    qint64 bytes = 0;
    int merged = 0; // how many small items a merged tile stands for
};

struct Options {
    int levels = 3;             // folder levels drawn inside one another
    double header = 18;         // room above a nested folder's children for its name
    double padding = 2;         // between a folder's edge and its children
    double smallestArea = 36;   // an item under this many square units joins its folder's merged tile
    double smallestFolder = 48; // a folder narrower or lower than this shows no children inside
};

// Tiles parents before their children, each folder's children largest first.
std::vector<Tile> layout(const StorageTree& tree, StorageTree::Index folder, const QRectF& bounds,
                         const Options& options = {});

} // namespace StorageTreemap
