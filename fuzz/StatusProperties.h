#pragma once

// What every status report must be, however odd the text it was read from: every figure a real number,
// nothing negative but temperatures and power, the busiest process first, a time left that reads as
// hours and minutes, and its JSON reading back to the same report.

#include "FuzzSupport.h"

#include "status/SystemReport.h"
#include "status/SystemReportParser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <cmath>

namespace StatusProperties {

// Temperatures may fall below zero and a battery's power flows both ways; nothing else may.
inline bool maySign(const QString& key)
{
    return key.endsWith(QLatin1String("_temp")) || key.endsWith(QLatin1String("_power"));
}

inline void checkValue(const QString& key, const QJsonValue& value)
{
    if (value.isDouble()) {
        KELVO_FUZZ_CHECK(std::isfinite(value.toDouble()));
        KELVO_FUZZ_CHECK(maySign(key) || value.toDouble() >= 0);
    } else if (value.isArray()) {
        for (const QJsonValue& item : value.toArray())
            checkValue(key, item);
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            checkValue(it.key(), it.value());
    }
}

inline void check(const SystemReport& report)
{
    // NaN is unequal to itself, so a NaN anywhere breaks the round trip as well.
    const QJsonObject json = report.toJson();
    checkValue({}, json);
    KELVO_FUZZ_CHECK(SystemReportParser::parseStatus(QJsonDocument(json).toJson()) == report);
    for (std::size_t i = 1; i < report.topProcesses.size(); ++i)
        KELVO_FUZZ_CHECK(report.topProcesses[i - 1].cpu.value_or(0) >=
                         report.topProcesses[i].cpu.value_or(0));
    static const QRegularExpression hoursAndMinutes(QStringLiteral("^\\d+:\\d\\d$"));
    for (const SystemReport::Battery& battery : report.batteries)
        KELVO_FUZZ_CHECK(!battery.timeLeft || hoursAndMinutes.match(*battery.timeLeft).hasMatch());
    if (report.memory && report.memory->total && report.memory->used)
        KELVO_FUZZ_CHECK(*report.memory->used <= *report.memory->total);
}

} // namespace StatusProperties
