#pragma once

#include <QtGlobal>

#include <functional>
#include <limits>

// Byte totals never wrap: a sum past the 64-bit range stays at the largest count.
namespace ByteCount {
inline qint64 saturatingAdd(qint64 total, qint64 bytes)
{
    return bytes > 0 && total > std::numeric_limits<qint64>::max() - bytes
               ? std::numeric_limits<qint64>::max()
               : total + bytes;
}

// The saturating sum of what bytesOf gives for each entry.
template <typename Entries, typename BytesOf> qint64 total(const Entries& entries, BytesOf bytesOf)
{
    qint64 sum = 0;
    for (const auto& entry : entries)
        sum = saturatingAdd(sum, std::invoke(bytesOf, entry));
    return sum;
}
} // namespace ByteCount
