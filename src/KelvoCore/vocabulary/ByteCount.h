#pragma once

#include <QtGlobal>

#include <limits>

// Byte totals never wrap: a sum past the 64-bit range stays at the largest count.
namespace ByteCount {
inline qint64 saturatingAdd(qint64 total, qint64 bytes)
{
    return bytes > 0 && total > std::numeric_limits<qint64>::max() - bytes
               ? std::numeric_limits<qint64>::max()
               : total + bytes;
}
} // namespace ByteCount
