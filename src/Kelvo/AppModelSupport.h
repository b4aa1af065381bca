#pragma once

// Helpers shared by the controller's sources: the stored keys, texts in the display language and
// the defaults store.

#include "LocalizationSettings.h"

#include "platform/DefaultsStore.h"

#include <QDateTime>
#include <QSettings>
#include <QStringList>

namespace AppModelSupport {

namespace Keys {
inline const QString lastInstallerScanDate = QStringLiteral("lastInstallerScanDate");
inline const QString lastInstallerCleanedCount = QStringLiteral("lastInstallerCleanedCount");
inline const QString lastInstallerCleanedBytes = QStringLiteral("lastInstallerCleanedBytes");
inline const QString lastPurgeScanDate = QStringLiteral("lastPurgeScanDate");
inline const QString lastPurgeCleanedCount = QStringLiteral("lastPurgeCleanedCount");
inline const QString lastPurgeCleanedBytes = QStringLiteral("lastPurgeCleanedBytes");
inline const QString lastAnalysisDate = QStringLiteral("lastAnalysisDate");
inline const QString lastAnalysisPath = QStringLiteral("lastAnalysisPath");
inline const QString lastAnalysisTotalSize = QStringLiteral("lastAnalysisTotalSize");
inline const QString lastAnalysisTotalFiles = QStringLiteral("lastAnalysisTotalFiles");
inline const QString lastOptimizeDate = QStringLiteral("lastOptimizeDate");
inline const QString lastOptimizeCount = QStringLiteral("lastOptimizeCount");
inline const QString lastUninstallDate = QStringLiteral("lastUninstallDate");
inline const QString lastUninstallCount = QStringLiteral("lastUninstallCount");
inline const QString lastCleanDate = QStringLiteral("lastCleanDate");
inline const QString lastCleanCount = QStringLiteral("lastCleanCount");
inline const QString showHealthAura = QStringLiteral("showHealthAura");
inline const QString customWindowBackgroundPath = QStringLiteral("customWindowBackgroundPath");
} // namespace Keys

inline QString L(const char* zh, const char* en)
{
    return LocalizationSettings::shared().text(QString::fromUtf8(zh), QString::fromUtf8(en));
}

inline bool containsAll(const QStringList& words, std::initializer_list<const char*> wanted)
{
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](const char* word) { return words.contains(QLatin1String(word)); });
}

inline double nowInSeconds()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

inline void storeValue(const QString& key, const QVariant& value)
{
    DefaultsStore::open()->setValue(key, value);
}

} // namespace AppModelSupport
