#pragma once

#include <QString>
#include <QtGlobal>

// Deletes for good, never following a symbolic link at any depth: a link is removed as a link and
// whatever it points to stays whole.
namespace FileRemover {
struct Outcome {
    bool removed = false;    // the item and everything below it are gone
    qint64 countedBytes = 0; // allocated bytes of what was removed, see removeItem
};

// Removes a file, link or whole folder. countedBytes adds the allocated size of the item itself when
// it is not a folder, and of every removed item below a folder except hidden ones and the contents
// of hidden folders.
Outcome removeItem(const QString& path);
} // namespace FileRemover
