#pragma once

#include "status/LinuxProcText.h"
#include "status/LocalSystemStatus.h"

#include <QString>

#include <map>
#include <optional>
#include <utility>
#include <vector>

// The process list from /proc: every process's stat read once per refresh, its CPU use the time it
// ran since the reading before; who runs it and its command line read only for the rows shown.
namespace LinuxStatusSampler {

// Every process's /proc/[pid]/stat at one moment, by pid: one walk of /proc, one read per process.
using ProcessTimes = std::vector<ProcessStat>;
ProcessTimes readProcessTimes(const QString& proc);

// The processes of the second reading that run a program, busiest first (ties by pid), named by the
// kernel's name for them; kernel threads and zombies are left out. CPU is the share of one core
// over the `elapsedTicks` that passed between the readings, as top shows it (a pid reused in between
// counts from its start); memory is the resident share of `memoryTotal`. Who runs each and its
// command line are left to ProcessDetails.
LocalSystemStatus::Processes processesBetween(const ProcessTimes& first, const ProcessTimes& second,
                                              double elapsedTicks, std::optional<qint64> memoryTotal);

// A process's user and command line: read from /proc the first time a process is described and kept
// while the same process (pid and start time) runs, since neither changes for the rows a list shows.
class ProcessDetails {
public:
    explicit ProcessDetails(QString proc)
        : m_proc(std::move(proc))
    {
    }

    // Sets the real user id, the command line and the name it gives; a process that ended since its
    // stat was read keeps the kernel's name and no command.
    void describe(SystemReport::ProcessInfo& process);
    // Forgets the processes that are not in this reading.
    void keepOnly(const ProcessTimes& running);

private:
    struct Known {
        std::optional<qint64> uid;
        std::optional<QString> name, command;
    };
    QString m_proc;
    std::map<std::pair<int, qint64>, Known> m_known; // by pid and start time
};

} // namespace LinuxStatusSampler
