#pragma once

#include "analysis/StorageTree.h"

#include <QIODevice>
#include <QString>

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <variant>

// A storage tree in the JSON export format of ncdu (`ncdu -o`, `ncdu -f`), which gdu reads and writes
// too: [1, 2, {metadata}, [{root}, ...]], where a folder is a list that starts with its own details
// and holds its children, and any other item is just its details.
//
// Sizes in the format are each item's own: a reader adds up what is below a folder itself.
//
// Names are bytes, not necessarily UTF-8. They are written as they are (only the quote, the
// backslash and control characters are escaped), as ncdu writes them, so that ncdu reads back the
// very bytes; gdu shows a byte that is not UTF-8 as U+FFFD. Reading keeps raw bytes as they are and
// turns \u escapes (surrogate pairs included) into UTF-8.
//
// What each kind of item becomes: a folder is a list, its flags as "read_error" and "excluded"
// ("otherfs" for another file system, "pattern" for anything else left out); a package is one item
// of its summed size, as a file is, so every reader's totals stay right; a link or any other special
// file is "notreg", a link with the mode of one so that it reads back as a link; a hard-linked file
// is "hlnkc" with its inode, which ncdu and gdu count once. Read back, an item left out because it
// lies on another file system (ncdu's "otherfs", "othfs", "kernfs" and "frmlnk") is a folder on
// another file system; a key given twice counts as its last value; unknown keys are passed over.
namespace NcduExport {

// Limits an import holds to, whatever the file claims.
constexpr int deepestNesting = 4096;            // folders in folders, and lists in lists
constexpr qsizetype longestName = 0xFFFF;       // bytes, as a tree keeps names
constexpr qint64 largestSize = qint64(1) << 62; // bytes of one item's own

struct ReadOptions {
    const std::atomic_bool* cancelled = nullptr;
    std::function<void(std::size_t items)> progress; // every few thousand items
    std::size_t mostItems = StorageTree::mostItems;
};

// Writes the tree as an export, item by item (nothing is gathered in memory first). The tree is one
// that was finished: each folder's own sizes are its totals less its children's. Nothing on
// success, or what went wrong, translated.
std::optional<QString> write(const StorageTree& tree, QIODevice& out);

// Reads an export streamed from `in` into a finished tree whose origin says it was imported; or says,
// translated, why the file was refused and at which byte. Reading stops at the first fault: a file
// that is cut short, not the format, or out of the limits above is refused whole.
std::variant<StorageTree, QString> read(QIODevice& in, const ReadOptions& options = {});

} // namespace NcduExport
