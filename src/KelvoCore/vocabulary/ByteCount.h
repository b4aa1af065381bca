#pragma once

#include <QtGlobal>

#include <functional>
#include <limits>

// Byte totals never wrap: a result past the 64-bit range stays at the largest (or least) count.
namespace ByteCount {
inline qint64 saturatingAdd(qint64 total, qint64 bytes)
{
    qint64 sum = 0;
    if (!__builtin_add_overflow(total, bytes, &sum))
        return sum;
    return bytes > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

inline qint64 saturatingSubtract(qint64 total, qint64 bytes)
{
    qint64 difference = 0;
    if (!__builtin_sub_overflow(total, bytes, &difference))
        return difference;
    return bytes < 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

inline qint64 saturatingMultiply(qint64 count, qint64 unit)
{
    qint64 product = 0;
    if (!__builtin_mul_overflow(count, unit, &product))
        return product;
    return (count < 0) == (unit < 0) ? std::numeric_limits<qint64>::max()
                                     : std::numeric_limits<qint64>::min();
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
