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

QStringList UninstallPreviewReport::Entry::leftoverPaths() const
{
    QStringList paths;
    for (const Leftover& leftover : leftovers)
        paths << leftover.path;
    return paths;
}

UninstallPreviewReport::Entry UninstallPreviewReport::makeEntry(
    const QString& name, const std::optional<QString>& bundleID, const LocalText& sourceLabel,
    const QString& uninstallName, const QString& path, qint64 appBytes, std::vector<Leftover> leftovers,
    const std::optional<QDateTime>& lastOpened, const std::optional<FileIdentity>& identity)
{
    std::stable_partition(leftovers.begin(), leftovers.end(),
                          [](const Leftover& leftover) { return leftover.match == LeftoverMatch::strong; });
    qint64 strongCount = 0;
    qint64 leftoverBytes = 0;
    for (const Leftover& leftover : leftovers)
        if (leftover.match == LeftoverMatch::strong) {
            ++strongCount;
            leftoverBytes = ByteCount::saturatingAdd(leftoverBytes, leftover.allocatedBytes);
        }
    LocalText source = sourceLabel;
    if (strongCount > 0)
        source = source + QStringLiteral(" · ") + QString::number(strongCount) +
                 LocalText{QStringLiteral(" 项残留"),
                           strongCount == 1 ? QStringLiteral(" leftover") : QStringLiteral(" leftovers")};
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
            std::move(leftovers),
            lastOpened,
            identity};
}
