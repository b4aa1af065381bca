#pragma once

#include "vocabulary/AppLocalization.h"

#include <QString>

#include <chrono>

// How long something took, as people read it: seconds with one decimal ("1.2 s"), a whole number
// without it ("120 s"), in the display language.
namespace DurationText {
// The number alone: "1.2", "120", and "< 0.1" for less than a tenth of a second, so a quick step
// never reads as taking no time at all.
inline QString number(std::chrono::milliseconds duration)
{
    if (duration < std::chrono::milliseconds(100))
        return QStringLiteral("< 0.1");
    QString text = QString::number(double(duration.count()) / 1000.0, 'f', 1);
    if (text.endsWith(QLatin1String(".0")))
        text.chop(2);
    return text;
}

inline QString seconds(std::chrono::milliseconds duration)
{
    return AppLocalization::localized(QStringLiteral("%1 秒"), QStringLiteral("%1 s")).arg(number(duration));
}
} // namespace DurationText
