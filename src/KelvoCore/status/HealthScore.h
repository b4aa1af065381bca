#pragma once

#include "status/SystemReport.h"

#include <QString>

#include <optional>

// The facts that do not change while Kelvo runs, gathered once per run by the sampler.
struct LocalSystemOverview {
    std::optional<QString> modelName;       // marketing name ("MacBook Air", DMI product name)
    std::optional<QString> modelIdentifier; // "MacBookAir10,1", DMI product version or board
    std::optional<QString> chipName;        // "Apple M1", the CPU model
    std::optional<int> gpuCoreCount;
    std::optional<int> displayRefreshRate; // hertz
    std::optional<QString> osVersion;      // "14.2.1", or the distribution's name and version
    bool operator==(const LocalSystemOverview&) const = default;
};

// The battery's condition, gathered once per run.
struct BatteryDetails {
    std::optional<QString> health; // as reported, e.g. "Normal"
    std::optional<int> cycleCount;
    std::optional<int> capacity;       // maximum capacity, percent of design
    std::optional<double> temperature; // degrees Celsius
    bool operator==(const BatteryDetails&) const = default;
};

// The health score, its verdict and the texts built from the overview.
namespace HealthScore {
// 100 − 0.15·cpu − 0.2·memory − 0.2·disk, rounded half away from zero and clamped to 0…100; none
// unless all three are known (a score from some of them would overstate the machine's health).
std::optional<int> score(std::optional<double> cpuUsage, std::optional<double> memoryUsedPercent,
                         std::optional<double> diskUsedPercent);
// "Good" from 76, "Fair" from 46, else "High Pressure" (English only, as the status format has it).
QString verdict(int score);

// "59m", "1h 1m", "1d 1h" (Chinese "59 分钟", "1 小时 1 分钟", "1 天 1 小时").
QString uptimeText(qint64 seconds);
// "16.0 GB/494.4 GB": the memory total and the primary disk's total, a part left out when unknown.
QString capacityText(std::optional<qint64> memoryTotal, std::optional<qint64> diskTotal);
// The chip, then ", 8GPU" when the GPU core count is known and positive; empty without a chip.
QString chipText(const LocalSystemOverview& overview);
// The host followed by the chip text, the capacity text, "60Hz" and the OS version, each when known,
// joined by " · ".
QString decoratedHost(const QString& baseHost, std::optional<qint64> memoryTotal,
                      std::optional<qint64> diskTotal, const LocalSystemOverview& overview);

// The battery's condition from `system_profiler SPPowerDataType` and `ioreg -r -c AppleSmartBattery`
// output (either, or both concatenated).
BatteryDetails parseBatteryDetails(const QString& text);
} // namespace HealthScore
