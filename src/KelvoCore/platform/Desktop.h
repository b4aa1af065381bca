#pragma once

#include "platform/ConfinedPath.h"

#include <QString>

// What the desktop offers around files: the file manager, and the system's privacy settings.
namespace Desktop {
// Shows the item in the system's file manager: Finder selects it on macOS; elsewhere the folder that
// holds it (or the folder itself) opens, which is as close as the freedesktop file managers come.
void reveal(const QString& path);
// The same for an item reached without links: its location is read from its open parent folder and
// handed over as bytes (a file URL on Linux), so a name that is not UTF-8 shows that very item.
void reveal(const ConfinedPath::Reached& item);
// True where the system has privacy panes Kelvo can open (macOS System Settings).
bool hasPrivacySettings();
// True when drawing can go to a graphics processor: always on a Mac; elsewhere when the kernel offers
// a render device (/dev/dri/renderD*). Without one, OpenGL is emulated on the CPU.
bool hasGraphicsDevice(const QString& devices = QStringLiteral("/dev/dri"));
} // namespace Desktop
