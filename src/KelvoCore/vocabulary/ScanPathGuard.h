#pragma once

#include <QString>
#include <QStringList>

// Decides whether a path may be moved to the Trash: only at or below the home folder or /Applications.
namespace ScanPathGuard {
QStringList allowedTrashRoots(const QString& home);
bool isTrashAllowed(const QString& path, const QString& home);
} // namespace ScanPathGuard
