#include "update/UpdateVersionComparator.h"

#include <QStringView>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// Decimal digits 0-9 only, without overflowing; none otherwise.
std::optional<qint64> asciiDecimal(QStringView digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (value > (std::numeric_limits<qint64>::max() - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// A piece's value: its leading run of numeric characters read as a decimal number; 0 when the run is
// empty, too large, or holds digits of another script ("3beta" is 3, "rc1" is 0, "٣" is 0).
qint64 pieceValue(const QString& piece)
{
    qsizetype runEnd = 0; // in UTF-16 units
    for (const uint codePoint : piece.toUcs4()) {
        if (!QChar::isNumber(char32_t(codePoint)))
            break;
        runEnd += QChar::requiresSurrogates(char32_t(codePoint)) ? 2 : 1;
    }
    return asciiDecimal(QStringView(piece).left(runEnd)).value_or(0);
}

QList<qint64> versionParts(const QString& version)
{
    QList<qint64> parts;
    for (const QString& piece : version.split(u'.', Qt::SkipEmptyParts))
        parts.append(pieceValue(piece));
    return parts;
}

// A signed whole number after trimming ("+8", " -2 "); none for anything else or on overflow.
std::optional<qint64> integerValue(const std::optional<QString>& text)
{
    if (!text)
        return std::nullopt;
    const QString trimmed = text->trimmed();
    QStringView digits(trimmed);
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+'))
        digits = digits.mid(1);
    if (digits.isEmpty())
        return std::nullopt;
    // The magnitude of the most negative number does not fit, so read the negative side separately.
    if (negative && digits == u"9223372036854775808")
        return std::numeric_limits<qint64>::min();
    const std::optional<qint64> magnitude = asciiDecimal(digits);
    if (!magnitude)
        return std::nullopt;
    return negative ? -*magnitude : *magnitude;
}

} // namespace

namespace UpdateVersionComparator {

int compareVersionStrings(const QString& a, const QString& b)
{
    const QList<qint64> left = versionParts(a);
    const QList<qint64> right = versionParts(b);
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const qint64 l = left.value(i, 0);
        const qint64 r = right.value(i, 0);
        if (l != r)
            return l > r ? 1 : -1;
    }
    return 0;
}

bool isUpdateAvailable(const QString& currentVersion, const std::optional<QString>& currentBuild,
                       const QString& latestVersion, const std::optional<QString>& latestBuild)
{
    const int byVersion = compareVersionStrings(latestVersion, currentVersion);
    if (byVersion != 0)
        return byVersion > 0;
    const std::optional<qint64> current = integerValue(currentBuild);
    const std::optional<qint64> latest = integerValue(latestBuild);
    return current && latest && *latest > *current;
}

} // namespace UpdateVersionComparator
