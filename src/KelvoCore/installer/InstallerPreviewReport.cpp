#include "installer/InstallerPreviewReport.h"

#include "vocabulary/ByteCount.h"
#include "vocabulary/NaturalOrder.h"
#include "vocabulary/SizeText.h"

#include <algorithm>
#include <limits>

QString InstallerPreviewReport::Entry::sizeText() const
{
    return SizeText::bytes(byteCount);
}

InstallerPreviewReport::InstallerPreviewReport(std::vector<Entry> found, QDateTime when)
    : entries(std::move(found))
    , generatedAt(std::move(when))
{
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.byteCount != b.byteCount)
            return a.byteCount > b.byteCount;
        return NaturalOrder::lessThan(a.name, b.name);
    });
}

qint64 InstallerPreviewReport::totalBytes() const
{
    qint64 total = 0;
    for (const Entry& entry : entries)
        total = ByteCount::saturatingAdd(total, entry.byteCount);
    return total;
}

QString InstallerPreviewReport::totalSizeText() const
{
    return SizeText::bytes(totalBytes());
}
