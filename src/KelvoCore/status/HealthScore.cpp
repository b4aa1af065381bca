#include "status/HealthScore.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/SizeText.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace HealthScore {

std::optional<int> score(std::optional<double> cpuUsage, std::optional<double> memoryUsedPercent,
                         std::optional<double> diskUsedPercent)
{
    if (!cpuUsage || !memoryUsedPercent || !diskUsedPercent)
        return std::nullopt;
    const double raw = 100.0 - 0.15 * *cpuUsage - 0.2 * *memoryUsedPercent - 0.2 * *diskUsedPercent;
    return static_cast<int>(std::clamp(std::lround(raw), 0L, 100L));
}

QString verdict(int score)
{
    if (score >= 76)
        return QStringLiteral("Good");
    if (score >= 46)
        return QStringLiteral("Fair");
    return QStringLiteral("High Pressure");
}

QString uptimeText(qint64 seconds)
{
    const qint64 minutes = std::max<qint64>(seconds, 0) / 60;
    if (minutes < 60)
        return AppLocalization::localized(QStringLiteral("%1 分钟"), QStringLiteral("%1m")).arg(minutes);
    if (minutes < 24 * 60)
        return AppLocalization::localized(QStringLiteral("%1 小时 %2 分钟"), QStringLiteral("%1h %2m"))
            .arg(minutes / 60)
            .arg(minutes % 60);
    return AppLocalization::localized(QStringLiteral("%1 天 %2 小时"), QStringLiteral("%1d %2h"))
        .arg(minutes / (24 * 60))
        .arg(minutes % (24 * 60) / 60);
}

QString capacityText(std::optional<qint64> memoryTotal, std::optional<qint64> diskTotal)
{
    QStringList parts;
    for (const std::optional<qint64>& total : {memoryTotal, diskTotal}) {
        if (total && *total > 0)
            parts << SizeText::statusGigabytes(*total);
    }
    return parts.join(QLatin1Char('/'));
}

QString chipText(const LocalSystemOverview& overview)
{
    if (!overview.chipName || overview.chipName->isEmpty())
        return {};
    if (overview.gpuCoreCount && *overview.gpuCoreCount > 0)
        return QStringLiteral("%1, %2GPU").arg(*overview.chipName).arg(*overview.gpuCoreCount);
    return *overview.chipName;
}

QString decoratedHost(const QString& baseHost, std::optional<qint64> memoryTotal,
                      std::optional<qint64> diskTotal, const LocalSystemOverview& overview)
{
    QStringList parts{baseHost, chipText(overview), capacityText(memoryTotal, diskTotal)};
    if (overview.displayRefreshRate && *overview.displayRefreshRate > 0)
        parts << QStringLiteral("%1Hz").arg(*overview.displayRefreshRate);
    parts << overview.osVersion.value_or(QString());
    parts.removeAll(QString());
    return parts.join(QStringLiteral(" · "));
}

namespace {

// Group 1 of the pattern's first match in the text, if any.
std::optional<QString> firstCapture(const QRegularExpression& pattern, const QString& text)
{
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

std::optional<int> firstNumber(const QRegularExpression& pattern, const QString& text)
{
    const std::optional<QString> digits = firstCapture(pattern, text);
    bool ok = false;
    const int number = digits ? digits->toInt(&ok) : 0;
    return ok ? std::optional<int>(number) : std::nullopt;
}

} // namespace

BatteryDetails parseBatteryDetails(const QString& text)
{
    // system_profiler writes "Cycle Count" (older releases "Cycle count") and puts a no-break space
    // between the capacity and its "%", which only Unicode whitespace matching recognises.
    static const QRegularExpression profilerCycles(QStringLiteral("Cycle Count:\\s*([0-9]+)"),
                                                   QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression registryCycles(QStringLiteral("\"CycleCount\"\\s*=\\s*([0-9]+)"));
    static const QRegularExpression capacity(QStringLiteral("Maximum Capacity:\\s*([0-9]+)\\s*%"),
                                             QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression condition(QStringLiteral("Condition:\\s*([^\\n]+)"));
    static const QRegularExpression temperature(QStringLiteral("\"Temperature\"\\s*=\\s*([0-9]+)"));

    BatteryDetails details;
    details.cycleCount = firstNumber(profilerCycles, text);
    if (!details.cycleCount)
        details.cycleCount = firstNumber(registryCycles, text);
    details.capacity = firstNumber(capacity, text);
    if (const std::optional<QString> health = firstCapture(condition, text))
        details.health = health->trimmed();
    // The battery registry reports hundredths of a degree Celsius.
    if (const std::optional<int> hundredths = firstNumber(temperature, text))
        details.temperature = *hundredths / 100.0;
    return details;
}

} // namespace HealthScore
