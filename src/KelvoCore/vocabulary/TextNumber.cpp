#include "vocabulary/TextNumber.h"

#include <QString> // the inline number readers of QStringView

#include <cmath>

namespace TextNumber {

std::optional<qint64> integer(QStringView text, qint64 lowest, qint64 highest)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok && value >= lowest && value <= highest ? std::optional(value) : std::nullopt;
}

std::optional<quint64> counter(QStringView text)
{
    bool ok = false;
    const quint64 value = text.toULongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<double> finite(QStringView text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

std::optional<qint64> whole(double value, qint64 lowest, qint64 highest)
{
    // 2^63 is exact as a double, and every double below it converts without overflow.
    constexpr double limit = 9223372036854775808.0;
    const double truncated = std::trunc(value);
    if (!std::isfinite(truncated) || truncated < -limit || truncated >= limit)
        return std::nullopt;
    const auto number = static_cast<qint64>(truncated);
    return number >= lowest && number <= highest ? std::optional(number) : std::nullopt;
}

} // namespace TextNumber
