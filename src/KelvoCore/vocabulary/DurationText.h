#pragma once

#include "vocabulary/AppLocalization.h"

#include <QString>

#include <chrono>

// How long something took, as people read it: seconds with one decimal ("1.2 s"), a whole number
// without it ("120 s"), in the display language.
namespace DurationText {
inline QString seconds(std::chrono::milliseconds duration)
{
    QString number = QString::number(double(duration.count()) / 1000.0, 'f', 1);
    if (number.endsWith(QLatin1String(".0")))
        number.chop(2);
    return AppLocalization::localized(QStringLiteral("%1 秒"), QStringLiteral("%1 s")).arg(number);
}
} // namespace DurationText
