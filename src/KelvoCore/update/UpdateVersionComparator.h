#pragma once

#include <QList>
#include <QString>

#include <optional>

// Whether a release is newer than the running one: dotted versions compared number by number (a
// piece's leading digits, 0 without any), then, for equal versions, whole-number builds.
namespace UpdateVersionComparator {
bool isUpdateAvailable(const QString& currentVersion, const std::optional<QString>& currentBuild,
                       const QString& latestVersion, const std::optional<QString>& latestBuild);
// 1, 0 or -1.
int compareVersionStrings(const QString& a, const QString& b);
} // namespace UpdateVersionComparator
