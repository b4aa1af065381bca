#pragma once

#include "platform/ToolRunner.h"
#include "status/HealthScore.h"
#include "status/LocalSystemStatus.h"

#include <QString>

#include <functional>
#include <optional>

// The macOS sampler: what the kernel and the system tools say about the machine, measured for
// LocalSystemStatus::complete(). The tools are reached through a runner, so that recorded outputs can
// stand in for them (a replay) on any system. Every reading that fails is left unknown; nothing throws.
namespace MacStatusSampler {

using Runner = std::function<ToolRunner::Result(const ToolRunner::Request&)>;

// Answers each tool run from a file in `dir` named after the tool's base name and its arguments,
// joined by single spaces, plus ".txt" ("pmset -g batt.txt"); a missing file is a failed run.
Runner replayRunner(const QString& dir);

// Where a snapshot is read from.
struct Sources {
    Runner run = &ToolRunner::run; // every request carries its time limit
    // The kernel, the mounted volumes, the host name and the OS version as well; a replay (false)
    // reads the tools' outputs alone.
    bool live = true;
};

// Readings too slow to repeat on every snapshot: the live sampler takes the overview and the battery
// details once per run and the Trash size every 30 seconds.
struct SlowReadings {
    LocalSystemOverview overview;
    BatteryDetails batteryDetails;
    std::optional<qint64> trashSize;
};

// The model, chip and GPU from `system_profiler SPHardwareDataType` and `SPDisplaysDataType`, the
// kernel filling in what they leave out.
LocalSystemOverview overview(const Sources& sources);

// The battery's condition from `system_profiler SPPowerDataType -detailLevel mini`, then
// `ioreg -r -c AppleSmartBattery`, each output read by `parse` on its own: every field comes from the
// first output that has it.
BatteryDetails batteryDetails(const Runner& run, const std::function<BatteryDetails(const QString&)>& parse);

// The allocated size of <home>/.Trash; unknown when it cannot be listed.
std::optional<qint64> trashSize(const QString& home);

// Every process from `ps`, busiest first; empty when it cannot run. Live, each carries the kernel's
// start time and owner of it; a replay's carry neither, so they cannot be ended.
LocalSystemStatus::Processes processes(const Sources& sources);

// One snapshot's measurement. `processes`, when given, is used instead of listing them; `home`'s
// volume stands in for the disks when no volume can be listed.
LocalSystemStatus::Measurement measure(const Sources& sources,
                                       const std::optional<LocalSystemStatus::Processes>& processes,
                                       const QString& home, const SlowReadings& slow);

} // namespace MacStatusSampler
