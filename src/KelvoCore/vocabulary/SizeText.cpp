#include "vocabulary/SizeText.h"

#include "vocabulary/AppLocalization.h"

#include <span>

// Reads like the macOS byte-count formatter in "file" style: decimal multiples, adaptive fraction
// digits (KB none, MB one, GB and up two, trailing zeros dropped), half-up rounding that moves to
// the next unit when a value rounds up to 1000, and no digit grouping.
namespace SizeText {
namespace {

struct Unit {
    const char* name;
    quint64 divisor;
    int fractionDigits;
};

constexpr Unit kilobytes{"KB", 1'000ULL, 0};
constexpr Unit megabytes{"MB", 1'000'000ULL, 1};
constexpr Unit gigabytes{"GB", 1'000'000'000ULL, 2};
constexpr Unit terabytes{"TB", 1'000'000'000'000ULL, 2};
constexpr Unit petabytes{"PB", 1'000'000'000'000'000ULL, 2};

constexpr Unit kilobytesToTerabytes[] = {kilobytes, megabytes, gigabytes, terabytes};
constexpr Unit kilobytesToPetabytes[] = {kilobytes, megabytes, gigabytes, terabytes, petabytes};

constexpr quint64 powerOfTen(int exponent)
{
    quint64 result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

// The count in units of 10^-fractionDigits of the unit, rounded half up. Split into quotient and
// remainder so that no intermediate product can overflow.
quint64 scaledCount(quint64 byteCount, const Unit& unit)
{
    const quint64 scale = powerOfTen(unit.fractionDigits);
    const quint64 whole = byteCount / unit.divisor;
    const quint64 rest = byteCount % unit.divisor;
    return whole * scale + (rest * scale + unit.divisor / 2) / unit.divisor;
}

QString numberText(quint64 scaled, int fractionDigits)
{
    const quint64 scale = powerOfTen(fractionDigits);
    QString text = QString::number(scaled / scale);
    const quint64 fraction = scaled % scale;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(fractionDigits, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return text;
}

// A non-zero magnitude in the smallest unit whose rounded value stays below 1000, or the largest one.
QString unitText(quint64 magnitude, std::span<const Unit> units)
{
    for (std::size_t i = 0; i < units.size(); ++i) {
        const Unit& unit = units[i];
        quint64 scaled = scaledCount(magnitude, unit);
        const bool isLast = i + 1 == units.size();
        if (scaled >= 1000 * powerOfTen(unit.fractionDigits) && !isLast)
            continue;
        // Something non-empty never reads as nothing.
        if (scaled == 0)
            scaled = powerOfTen(unit.fractionDigits);
        return numberText(scaled, unit.fractionDigits) + QLatin1Char(' ') + QLatin1String(unit.name);
    }
    Q_UNREACHABLE();
    return {};
}

// The magnitude without overflow for the most negative count.
quint64 magnitudeOf(qint64 count)
{
    return count < 0 ? quint64(-(count + 1)) + 1 : quint64(count);
}

QString signOf(qint64 count)
{
    return count < 0 ? QStringLiteral("-") : QString();
}

bool isChinese()
{
    return AppLocalization::currentLanguage() == AppResolvedLanguage::chinese;
}

QString unknownText()
{
    return AppLocalization::localized(QStringLiteral("未知"), QStringLiteral("Unknown"));
}

} // namespace

QString bytes(std::optional<qint64> byteCount)
{
    if (!byteCount)
        return unknownText();
    if (*byteCount == 0)
        return isChinese() ? QStringLiteral("零 KB") : QStringLiteral("Zero KB");
    return signOf(*byteCount) + unitText(magnitudeOf(*byteCount), kilobytesToTerabytes);
}

QString percent(std::optional<double> value)
{
    if (!value)
        return unknownText();
    // QString::asprintf ignores the process locale: the decimal mark is always a full stop.
    return QString::asprintf("%.1f%%", *value);
}

QString statusGigabytes(qint64 byteCount)
{
    return QString::asprintf("%.1f GB", double(byteCount) / double(1LL << 30));
}

QString bytesWithDefaultUnits(qint64 byteCount)
{
    const bool chinese = isChinese();
    if (byteCount == 0)
        return chinese ? QStringLiteral("零字节") : QStringLiteral("Zero bytes");
    const quint64 magnitude = magnitudeOf(byteCount);
    if (magnitude < kilobytes.divisor) {
        const QString number = signOf(byteCount) + QString::number(magnitude);
        if (chinese)
            return number + QStringLiteral(" 字节");
        return number + (magnitude == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
    }
    return signOf(byteCount) + unitText(magnitude, kilobytesToPetabytes);
}

} // namespace SizeText
