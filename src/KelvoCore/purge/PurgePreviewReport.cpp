#include "purge/PurgePreviewReport.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/LargestFirst.h"
#include "vocabulary/SizeText.h"

QString PurgePreviewReport::Entry::sizeText() const
{
    return SizeText::bytes(byteCount);
}

std::optional<QString> PurgePreviewReport::Entry::detailText() const
{
    if (!fileCount && !directoryCount)
        return std::nullopt;
    const qint64 files = fileCount.value_or(0);
    const qint64 folders = directoryCount.value_or(0);
    return AppLocalization::localized(QStringLiteral("%1 个文件 / %2 个文件夹"),
                                      QString(files == 1 ? "%1 file" : "%1 files") +
                                          QString(folders == 1 ? " / %2 folder" : " / %2 folders"))
        .arg(files)
        .arg(folders);
}

PurgePreviewReport::PurgePreviewReport(QString root, std::vector<Entry> found, QDateTime when)
    : rootPath(std::move(root))
    , entries(std::move(found))
    , generatedAt(std::move(when))
{
    LargestFirst::sort(entries, &Entry::byteCount, &Entry::path);
}

qint64 PurgePreviewReport::totalBytes() const
{
    return ByteCount::total(entries, &Entry::byteCount);
}

QString PurgePreviewReport::totalSizeText() const
{
    return SizeText::bytes(totalBytes());
}
