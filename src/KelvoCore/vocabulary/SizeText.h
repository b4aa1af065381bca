#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The one text form of sizes and percentages, so that sizes read alike everywhere.
namespace SizeText {
// Decimal units (1 KB = 1000 bytes), KB to TB only: small counts still read in KB.
// An absent count reads "Unknown" / "未知".
QString bytes(std::optional<qint64> byteCount);
// "42.5%"; an absent value reads "Unknown" / "未知".
QString percent(std::optional<double> value);
// The machine-status figures' form: binary gigabytes with one decimal ("16.0 GB" for 16 GiB), as
// the status report has always written memory and disk totals.
QString statusGigabytes(qint64 byteCount);
// Decimal units from bytes up ("512 bytes", "1.2 MB"), for notes that show small counts exactly.
QString bytesWithDefaultUnits(qint64 byteCount);
} // namespace SizeText
