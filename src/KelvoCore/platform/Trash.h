#pragma once

#include <QString>

// Moves to the system Trash (Finder's on macOS, the freedesktop Trash on Linux).
namespace Trash {
// Throws KelvoError with a translated description when the item cannot be moved.
// A symbolic link is moved as a link; its target is never touched.
void moveToTrash(const QString& path);
} // namespace Trash
