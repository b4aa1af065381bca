#pragma once

#include <QString>

// The copy of the user's chosen window background image, in applicationSupport/WindowBackground. At
// most one installed image exists. The folder is reached from the home folder when the support folder
// lies inside it (the usual ~/.local/share/Kelvo), otherwise from the support folder as the
// application gives it (made first when missing), without a link at any level, and made where
// missing; a link on the way refuses the change, naming it, and loses nothing.
namespace WindowBackgroundStore {
// Copies the image into the folder as "wallpaper-<UUID>.<ext>" (lower-case extension, "jpg" when the
// source has none), written whole or not at all, then removes the earlier wallpaper entries; returns
// the new file's path. Throws KelvoError, having changed nothing, when the copy cannot be made.
QString installImage(const QString& sourcePath, const QString& applicationSupport, const QString& home);
// Deletes every entry of the folder whose name starts with "wallpaper"; throws KelvoError.
void removeInstalledImages(const QString& applicationSupport, const QString& home);
} // namespace WindowBackgroundStore
