#pragma once

#include <QStringView>
#include <QtGlobal>

#include <limits>
#include <optional>

// Numbers read from text Kelvo did not write (kernel files, tool output). Each is checked where it is
// read: what does not fit the type, or is not a finite number, is unknown rather than a wrapped or
// undefined value, so nothing downstream sees a NaN, an infinity or an overflowed figure.
namespace TextNumber {
// A decimal whole number within [lowest, highest].
std::optional<qint64> integer(QStringView text, qint64 lowest = std::numeric_limits<qint64>::min(),
                              qint64 highest = std::numeric_limits<qint64>::max());

// An unsigned 64-bit counter (the kernel's byte and tick counters).
std::optional<quint64> counter(QStringView text);

// A decimal number; "nan", "inf" and what overflows a double are unknown.
std::optional<double> finite(QStringView text);

// The whole part of a figure, when it is finite and its whole part lies within [lowest, highest].
std::optional<qint64> whole(double value, qint64 lowest = std::numeric_limits<qint64>::min(),
                            qint64 highest = std::numeric_limits<qint64>::max());
} // namespace TextNumber
