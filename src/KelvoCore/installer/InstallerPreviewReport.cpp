#include "installer/InstallerPreviewReport.h"

#include "vocabulary/ByteCount.h"
#include "vocabulary/LargestFirst.h"
#include "vocabulary/SizeText.h"

QString InstallerPreviewReport::Entry::sizeText() const
{
    return SizeText::bytes(byteCount);
}

InstallerPreviewReport::InstallerPreviewReport(std::vector<Entry> found, QDateTime when)
    : entries(std::move(found))
    , generatedAt(std::move(when))
{
    LargestFirst::sort(entries, &Entry::byteCount, &Entry::name);
}

qint64 InstallerPreviewReport::totalBytes() const
{
    return ByteCount::total(entries, &Entry::byteCount);
}

QString InstallerPreviewReport::totalSizeText() const
{
    return SizeText::bytes(totalBytes());
}
