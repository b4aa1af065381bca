#pragma once

#include "platform/ConfinedPath.h"

#include <QString>

// Moves to the system Trash: the user's freedesktop Trash on Linux, Finder's Trash on macOS.
namespace Trash {
// Moves a reached item, as itself (a link is trashed as a link), provided it is still the item that
// was reached. Throws KelvoError with a translated description when it cannot be moved. On Linux the
// Trash belongs to the user running Kelvo: it must lie inside their home folder (HOME), and it and
// its "files" and "info" folders are reached from there without a link at any level, made (0700)
// where missing; a link on the way refuses the move, naming it.
void moveToTrash(const ConfinedPath::Reached& item);
// The folder holding the freedesktop Trash's "files" and "info" folders: $XDG_DATA_HOME/Trash when
// XDG_DATA_HOME is an absolute path, else ~/.local/share/Trash.
QString freedesktopTrashFolder();
} // namespace Trash
