#include "purge/PurgePreviewReport.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/NaturalOrder.h"
#include "vocabulary/SizeText.h"

#include <algorithm>
#include <limits>

QString PurgePreviewReport::Entry::sizeText() const
{
    return SizeText::bytes(byteCount);
}

std::optional<QString> PurgePreviewReport::Entry::detailText() const
{
    if (!fileCount && !directoryCount)
        return std::nullopt;
    const QString files = fileCount ? QString::number(*fileCount) : QStringLiteral("0");
    const QString folders = directoryCount ? QString::number(*directoryCount) : QStringLiteral("0");
    return AppLocalization::localized(QStringLiteral("%1 文件 / %2 个文件夹"),
                                      QStringLiteral("%1 files / %2 folders"))
        .arg(files, folders);
}

PurgePreviewReport::PurgePreviewReport(QString root, std::vector<Entry> found, QDateTime when)
    : rootPath(std::move(root))
    , entries(std::move(found))
    , generatedAt(std::move(when))
{
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.byteCount != b.byteCount)
            return a.byteCount > b.byteCount;
        return NaturalOrder::lessThan(a.path, b.path);
    });
}

qint64 PurgePreviewReport::totalBytes() const
{
    qint64 total = 0;
    for (const Entry& entry : entries)
        total = ByteCount::saturatingAdd(total, entry.byteCount);
    return total;
}

QString PurgePreviewReport::totalSizeText() const
{
    return SizeText::bytes(totalBytes());
}
