#pragma once

#include "status/HealthScore.h"
#include "status/ProcessControl.h"
#include "status/StatusRates.h"
#include "status/SystemReport.h"

#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// One SystemReport per call, measured on the running system: /proc and /sys on Linux, the kernel and
// the system tools on macOS. Blocking for at least the 0.2 s CPU measurement; call it on a worker.
namespace LocalSystemStatus {
using Processes = std::vector<SystemReport::ProcessInfo>;

// What a system's sampler measured for one snapshot; complete() makes the report of it.
struct Measurement {
    // Measured directly: platform, uptimeSeconds, cpu, memory (without the pressure), disks (sorted),
    // trashSize, batteries, proxy, thermal. The sampler leaves the rest to complete().
    SystemReport report;
    Processes processes;             // every process, busiest first
    std::optional<int> processCount; // kernel threads included, which `processes` may leave out
    std::optional<std::pair<quint64, quint64>> diskBytes; // read and write totals since boot
    std::vector<InterfaceCounters> interfaces;            // up, not loopback, addressed ones first
    QString baseHost;                                     // the machine's name
    LocalSystemOverview overview;                         // gathered once per run
    bool chipHasGPU = true; // a Mac's chip carries its GPU; a PC's CPU model names no GPU
};

// `topProcesses`, when given, is used as the process list instead of listing the processes again.
SystemReport snapshot(const std::optional<Processes>& topProcesses = std::nullopt);
// Every process, busiest first (by CPU percent, ties in the system's order).
Processes processSnapshot();
// The report and the processes a list of `rows` shows `viewer` (see shownProcesses), from one sampling:
// the report's busiest five are among them, and the process count counts every process. The CPU and
// per-process figures cover the time since the previous sampling of this process when that was at
// most `longestSpan` ago (the live loop's period), else two readings 0.2 s apart; the rates are
// against the previous sample `rates` saw.
std::pair<SystemReport, Processes>
snapshotWithProcesses(const ProcessControl::Viewer& viewer, int rows,
                      std::chrono::milliseconds longestSpan = std::chrono::seconds(10),
                      StatusRates& rates = StatusRates::shared());
// What a list of `rows` shows `viewer` in either order, busiest by CPU or by memory: the first `rows`
// listed for the viewer in each, `describe` (who runs it, its command line) called once on every
// process looked at on the way, and only on those. Their union, busiest by CPU first.
Processes shownProcesses(const Processes& all, const ProcessControl::Viewer& viewer, int rows,
                         const std::function<void(SystemReport::ProcessInfo&)>& describe);
// Who holds a pid now, as this system's kernel tells it: the process's start time, in the unit of
// ProcessInfo::startTime, and whether it is a kernel thread; none when no process has the pid.
struct ProcessIdentity {
    qint64 startTime = 0;
    bool kernelThread = false;
};
std::optional<ProcessIdentity> processIdentity(int pid);
// A Mac's report made from recorded tool outputs instead of running the tools: `folder` holds one file
// per tool run, named by the tool's base name and its arguments joined by spaces, plus ".txt"; a
// missing file is a tool that failed. Kernel values are absent.
SystemReport replaySnapshot(const QString& folder, const QString& home);

// What every sampler does the same way once it has measured: the process count and the 5 busiest
// processes, the memory pressure, the disk and network rates with their histories, the health score
// and its verdict (CPU, memory and the primary disk; without one of them no score and the verdict
// "Unknown"), the decorated host, the uptime text, the hardware texts and the GPU from the overview.
SystemReport complete(Measurement measurement, StatusRates& rates, double now);

// The busiest first, a missing percent counting as 0; equal ones keep their order.
void sortByCPU(Processes& processes);
// The first five of a list sorted busiest first: a report's topProcesses.
Processes busiest(const Processes& processes);
// "critical" from 95 %, "warn" from 82 %, else "normal".
QString memoryPressure(double usedPercent);
// The disk whose use feeds the health score: "/System/Volumes/Data", else "/", else the first.
std::optional<SystemReport::Disk> primaryDisk(const std::vector<SystemReport::Disk>& disks);
} // namespace LocalSystemStatus
