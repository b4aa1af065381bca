#pragma once

#include "status/LinuxDisks.h"
#include "status/LinuxProcText.h"
#include "status/LinuxProcesses.h"
#include "status/LinuxSysReaders.h"
#include "status/LocalSystemStatus.h"

#include <QElapsedTimer>
#include <QMap>
#include <QProcessEnvironment>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

// The Linux sampler: one Measurement from /proc, /sys and /etc. Every probe that fails leaves its
// figure unknown or its list empty; nothing here throws.
namespace LinuxStatusSampler {

inline constexpr std::chrono::milliseconds defaultInterval{200};

// Where the system's files are and how the few system calls are made; tests point them at
// synthetic trees and fakes.
struct Roots {
    QString proc = QStringLiteral("/proc");
    QString sys = QStringLiteral("/sys");
    QString etc = QStringLiteral("/etc");
    QString home; // empty: the Trash is not measured
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(); // proxies, XDG_DATA_HOME
    SpaceProbe space = fileSystemSpace;
    std::optional<QMap<QString, QString>> addresses; // by interface; none: the system's own (getifaddrs)
    // The pause between the two readings of the CPU and process times.
    std::function<void(std::chrono::milliseconds)> wait = [](std::chrono::milliseconds interval) {
        std::this_thread::sleep_for(interval);
    };
};

// A sampler that remembers its last reading: each measurement's CPU and per-process figures cover the
// time since the one before (the refresh interval), so a refresh walks /proc once and does not wait.
// Without a recent reading to go from, it reads twice, `firstInterval` apart. The overview is
// gathered once, the Trash measured at most every 30 seconds, and a process's user and command line
// read once. Not for two threads at once.
class Sampler {
public:
    explicit Sampler(Roots roots);
    ~Sampler();
    Sampler(const Sampler&) = delete;
    Sampler& operator=(const Sampler&) = delete;

    // The processes come without their users and command lines (see describe()) unless given.
    // `longestSpan`: how old the last reading may be to count from; older, it is read afresh.
    LocalSystemStatus::Measurement measure(const std::optional<LocalSystemStatus::Processes>& processes,
                                           std::chrono::milliseconds firstInterval = defaultInterval,
                                           std::chrono::milliseconds longestSpan = std::chrono::seconds(10));
    // Sets a listed process's user and command line.
    void describe(SystemReport::ProcessInfo& process) { m_details.describe(process); }

    struct Reading;

private:
    Roots m_roots;
    std::unique_ptr<Reading> m_last;
    QElapsedTimer m_lastTaken;
    std::optional<LocalSystemOverview> m_overview;
    std::optional<qint64> m_trash;
    QElapsedTimer m_trashMeasured;
    ProcessDetails m_details;
};

// Everything measured afresh, the overview and the Trash included, every process described. The CPU
// and the processes (unless given) are read at the same two moments, `cpuInterval` apart. Blocks for
// the interval.
LocalSystemStatus::Measurement measure(const Roots& roots,
                                       const std::optional<LocalSystemStatus::Processes>& processes,
                                       std::chrono::milliseconds cpuInterval = defaultInterval);

// The running system, for this user: the one Sampler of this process. Its processes are not
// described: describe() those a list shows.
LocalSystemStatus::Measurement measure(const std::optional<LocalSystemStatus::Processes>& processes,
                                       std::chrono::milliseconds longestSpan);
void describe(SystemReport::ProcessInfo& process);
// Every process, described, from two readings `interval` apart.
LocalSystemStatus::Processes processes(std::chrono::milliseconds interval = defaultInterval);

// The facts that do not change while Kelvo runs: the DMI model, the CPU, the distribution.
LocalSystemOverview overview(const Roots& roots);
// The freedesktop Trash's allocated bytes ($XDG_DATA_HOME/Trash, else ~/.local/share/Trash); none
// when there is no home to look in.
std::optional<qint64> trashSize(const Roots& roots);
// The proxy the environment sets for command-line programs: https_proxy, then http_proxy, then
// all_proxy (either letter case); `enabled` is false when none is set.
SystemReport::Proxy proxy(const QProcessEnvironment& environment);

} // namespace LinuxStatusSampler
