#include "clean/CleanChoice.h"

#include "clean/CleanLocations.h"
#include "clean/LocalCleanPreview.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/PathText.h"

#include <algorithm>

namespace CleanChoice {
namespace {

using Entry = CleanPreviewReport::Entry;

bool isTrash(const Entry& entry, const QString& home)
{
    const QString path = PathText::standardized(entry.path);
    for (const CleanCatalogue* catalogue : {&CleanLocations::macOS(), &CleanLocations::linuxDesktop()})
        for (const CleanTarget& target : catalogue->trash.targets)
            if (path == PathText::standardized(PathText::joined(home, target.relativePath)))
                return true;
    return false;
}

} // namespace

std::optional<qint64> measuredBytes(const Entry& entry)
{
    return entry.bytes ? entry.bytes : LocalCleanPreview::byteCount(entry.note);
}

qint64 freedBytes(const Entry& entry)
{
    return std::max<qint64>(
        ByteCount::saturatingSubtract(measuredBytes(entry).value_or(0), entry.protectedBytes.value_or(0)), 0);
}

QString keyOf(const Entry& entry)
{
    return entry.path;
}

bool isChoosable(const Entry& entry)
{
    if (entry.status != CleanPreviewReport::EntryStatus::cleanable)
        return false;
    const std::optional<qint64> bytes = measuredBytes(entry);
    // A link or an empty file goes too, although it frees no space.
    return !bytes || *bytes > entry.protectedBytes.value_or(0) || entry.itemsToRemove.value_or(0) > 0;
}

QSet<QString> everything(const CleanPreviewReport& report)
{
    QSet<QString> keys;
    for (const Entry& entry : report.entries)
        if (isChoosable(entry))
            keys.insert(keyOf(entry));
    return keys;
}

CleanPreviewReport narrowed(const CleanPreviewReport& report, const QSet<QString>& chosen)
{
    CleanPreviewReport result = report;
    std::erase_if(result.entries,
                  [&](const Entry& entry) { return !isChoosable(entry) || !chosen.contains(keyOf(entry)); });
    return result;
}

Totals totals(const CleanPreviewReport& report, const QSet<QString>& chosen, const QString& home)
{
    const CleanPreviewReport taken = narrowed(report, chosen);
    Totals result;
    result.willFree = taken.willFreeBytes();
    for (const Entry& entry : taken.entries) {
        const qint64 bytes = measuredBytes(entry).value_or(0);
        if (isTrash(entry, home)) {
            result.trashBytes = ByteCount::saturatingAdd(result.trashBytes.value_or(0), bytes);
            continue;
        }
        ++result.count;
        result.bytes = ByteCount::saturatingAdd(result.bytes, bytes);
    }
    return result;
}

} // namespace CleanChoice
