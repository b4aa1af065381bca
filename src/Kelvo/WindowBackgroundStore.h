#pragma once

#include <QString>

// The copy of the user's chosen window background image. At most one installed image exists.
namespace WindowBackgroundStore {
// applicationSupport/WindowBackground, created with its parents when missing; throws KelvoError.
QString storageDirectory(const QString& applicationSupport);
// Copies the image into the folder as "wallpaper-<UUID>.<ext>" (lower-case extension, "jpg" when the
// source has none) after removing earlier wallpaper files; returns the new file's path. Throws.
QString installImage(const QString& sourcePath, const QString& applicationSupport);
// Deletes every entry of the folder whose name starts with "wallpaper"; throws KelvoError.
void removeInstalledImages(const QString& applicationSupport);
} // namespace WindowBackgroundStore
