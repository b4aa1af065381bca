#pragma once

#include <QString>

// What the desktop offers around files: the file manager, and the system's privacy settings.
namespace Desktop {
// Shows the item in the system's file manager: Finder selects it on macOS; elsewhere the folder that
// holds it (or the folder itself) opens, which is as close as the freedesktop file managers come.
void reveal(const QString& path);
// True where the system has privacy panes Kelvo can open (macOS System Settings).
bool hasPrivacySettings();
} // namespace Desktop
