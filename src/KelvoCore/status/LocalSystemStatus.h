#pragma once

#include "status/StatusRates.h"
#include "status/SystemReport.h"

#include <optional>
#include <vector>

// One SystemReport per call, measured on the running system: /proc and /sys on Linux, the kernel and
// the system tools on macOS. Blocking for at least the 0.2 s CPU measurement; call it on a worker.
namespace LocalSystemStatus {
using Processes = std::vector<SystemReport::ProcessInfo>;

// `topProcesses`, when given, is used as the process list instead of listing the processes again.
SystemReport snapshot(const std::optional<Processes>& topProcesses = std::nullopt);
// Every process, busiest first (by CPU percent, ties in the system's order).
Processes processSnapshot();

// What every sampler does once it has measured: the process count and the 5 busiest processes, the
// memory pressure, the disk and network rates with their histories, and the health score and its
// verdict from CPU, memory and the primary disk. `disk` are the read and write byte totals, when known.
void complete(SystemReport& report, const Processes& processes,
              const std::optional<std::pair<quint64, quint64>>& diskBytes,
              const std::vector<StatusRates::InterfaceCounters>& interfaces, StatusRates& rates);

// The busiest first, a missing percent counting as 0; equal ones keep their order.
void sortByCPU(Processes& processes);
// "critical" from 95 %, "warn" from 82 %, else "normal".
QString memoryPressure(double usedPercent);
// The disk whose use feeds the health score: "/System/Volumes/Data", else "/", else the first.
std::optional<SystemReport::Disk> primaryDisk(const std::vector<SystemReport::Disk>& disks);
} // namespace LocalSystemStatus
