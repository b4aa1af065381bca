#pragma once

#include "platform/InterfaceCounters.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <map>
#include <optional>
#include <vector>

// What the macOS kernel answers directly, without running a tool. Elsewhere every reading is unknown
// (or empty), except the POSIX ones: the load averages and the machine's hardware name.
namespace MacKernel {

// One processor's time since boot, in scheduler ticks.
struct CpuTicks {
    quint64 user = 0, system = 0, nice = 0, idle = 0;
};
// One entry per logical processor.
std::optional<std::vector<CpuTicks>> cpuTicks();

// Page counts of the virtual memory statistics, and the size of a page in bytes.
struct VmStatistics {
    quint64 active = 0, wired = 0, compressor = 0;        // in use
    quint64 inactive = 0, purgeable = 0, speculative = 0; // cached, given back under pressure
    quint64 pageSize = 0;
};
std::optional<VmStatistics> vmStatistics();

// The 1, 5 and 15 minute load averages.
std::optional<std::array<double, 3>> loadAverages();

// A numeric sysctl ("hw.memsize", "hw.logicalcpu"), whatever its width.
std::optional<qint64> sysctlInteger(const QByteArray& name);
// A text sysctl ("hw.model", "machdep.cpu.brand_string").
std::optional<QString> sysctlText(const QByteArray& name);

// When the system started, in seconds since 1970.
std::optional<qint64> bootTime();

// Which process holds a pid: when the kernel started it (microseconds since 1970) and its real user id.
struct ProcessFacts {
    qint64 startTime = 0, uid = 0;
    bool operator==(const ProcessFacts&) const = default;
};
std::optional<ProcessFacts> processFacts(int pid);
// Every process's, by pid.
std::map<int, ProcessFacts> allProcessFacts();

// The machine's hardware name as uname(3) reports it ("arm64", "x86_64").
std::optional<QString> machine();

// The byte counters of every interface that is up and not the loopback, the ones with an IPv4
// address first. The counters are 32-bit on macOS and wrap; the rates treat a wrap as a drop.
std::vector<InterfaceCounters> interfaceCounters();

} // namespace MacKernel
