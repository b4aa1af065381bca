#pragma once

#include "platform/ConfinedPath.h"

#include <QString>

// Moves to the system Trash: the freedesktop Trash of the home folder's disk on Linux, Finder's
// Trash on macOS.
namespace Trash {
// Moves a reached item, as itself (a link is trashed as a link), provided it is still the item that
// was reached. Throws KelvoError with a translated description when it cannot be moved.
void moveToTrash(const ConfinedPath::Reached& item);
// The folder holding the freedesktop Trash's "files" and "info" folders.
QString freedesktopTrashFolder();
} // namespace Trash
