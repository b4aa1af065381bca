#include "uninstall/UninstallPreviewReport.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/NaturalOrder.h"
#include "vocabulary/SizeText.h"

#include <algorithm>

UninstallPreviewReport::UninstallPreviewReport(std::vector<Entry> found)
    : entries(std::move(found))
{
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        // Natural order is total: only identical names reach the path, so two scans of the same disk
        // give the same report.
        if (const int order = NaturalOrder::compare(a.name, b.name))
            return order < 0;
        return a.path < b.path;
    });
}

UninstallPreviewReport::Entry UninstallPreviewReport::makeEntry(
    const QString& name, const std::optional<QString>& bundleID, const QString& sourceLabel,
    const QString& uninstallName, const QString& path, qint64 appBytes, qint64 leftoverBytes,
    const QStringList& leftoverPaths, const std::optional<QDateTime>& lastOpened)
{
    QString source = sourceLabel;
    if (!leftoverPaths.isEmpty())
        source += QStringLiteral(" · ") + QString::number(leftoverPaths.size()) +
                  AppLocalization::localized(QStringLiteral(" 项残留"), QStringLiteral(" leftovers"));
    const qint64 total = ByteCount::saturatingAdd(appBytes, leftoverBytes);
    return {path,
            name,
            bundleID,
            source,
            uninstallName,
            path,
            SizeText::bytes(total),
            SizeText::bytes(appBytes),
            appBytes,
            SizeText::bytes(leftoverBytes),
            leftoverPaths,
            lastOpened};
}
