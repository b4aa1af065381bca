#pragma once

#include "status/LinuxProcText.h"
#include "status/LocalSystemStatus.h"

#include <QString>

#include <map>

// The process list from /proc: each process's CPU time read at two moments, its use the difference.
namespace LinuxStatusSampler {

// Every process's /proc/[pid]/stat at one moment, by pid.
using ProcessTimes = std::map<int, ProcessStat>;
ProcessTimes readProcessTimes(const QString& proc);

// The processes of the second reading still there to be named, busiest first (ties by pid), each with
// its start time and real user id; kernel threads and zombies are left out. CPU is
// the share of one core over the `elapsedTicks` that passed between the readings, as top shows it (a
// pid reused in between counts from its start); memory is the resident share of `memoryTotal`.
LocalSystemStatus::Processes processesBetween(const QString& proc, const ProcessTimes& first,
                                              const ProcessTimes& second, double elapsedTicks,
                                              std::optional<qint64> memoryTotal);

} // namespace LinuxStatusSampler
