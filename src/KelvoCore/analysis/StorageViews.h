#pragma once

#include "analysis/StorageTree.h"

#include <QByteArrayView>
#include <QDateTime>

#include <vector>

// Ways of looking at a walked tree below one of its folders: its children sorted, its largest files,
// the files nobody has changed for months, and what each type of file takes. All of them read the
// tree in memory; none touches the disk.
namespace StorageViews {

using Index = StorageTree::Index;

enum class SortKey { size, name, items, modified };
// The folder's children, largest (or latest, most items, A to Z) first; ties by name.
std::vector<Index> sortedChildren(const StorageTree& tree, Index folder, SortKey key);

// The largest files below the folder, at most `limit`, none smaller than `floor` bytes: a short list
// is never padded with small files.
std::vector<Index> largestFiles(const StorageTree& tree, Index folder, qint64 floor, std::size_t limit);

// The files below the folder not modified for `months` months before `now`, largest first, at most
// `limit`, with what they take together.
struct OldFiles {
    std::vector<Index> files;
    qint64 bytes = 0; // all of them, listed or not
    qint64 count = 0;
};
OldFiles oldFiles(const StorageTree& tree, Index folder, const QDateTime& now, int months, std::size_t limit);

// The regular files below the folder (bundles are items, not entered).
qint64 filesBelow(const StorageTree& tree, Index folder);

enum class FileType { video, images, audio, archives, diskImages, code, documents, other };
// By the name's extension, in any letter case; "other" when it tells nothing.
FileType typeOf(QByteArrayView name);

struct TypeTotal {
    FileType type;
    qint64 bytes = 0;
    qint64 files = 0;
};
// Every type's files below the folder, largest first; types with no file left out. Bundles count as
// disk images and packages.
std::vector<TypeTotal> sizesByType(const StorageTree& tree, Index folder);

} // namespace StorageViews
