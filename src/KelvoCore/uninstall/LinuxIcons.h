#pragma once

#include <QString>

#include <optional>

// Where a Linux application's icon file is: a PNG or SVG file, never reached through a link.
namespace LinuxIcons {

// A regular file (not a link) named ".png", ".svg" or ".svgz".
bool isIconFile(const QString& path);

// NAME.svg or NAME.png in an icon theme folder's "*/apps" folders ("hicolor"): the scalable drawing
// first, else the largest picture.
std::optional<QString> inTheme(const QString& themeFolder, const QString& name);

// A desktop entry's Icon value: an absolute path as it is, else a name looked up in the user's hicolor
// theme and then directly in ~/.local/share/icons.
std::optional<QString> forDesktopEntry(const QString& iconValue, const QString& home);

} // namespace LinuxIcons
