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

// The stat files of a walk, left open after it so that a second
// reading a moment later reads them again without walking /proc: no listing, no opening. A process
// that started in between is left for the next reading. At most half the descriptors the process may
// open are kept (unless told fewer), so the rest of the program never runs short; the others are
// opened again by pid.
class OpenStatFiles {
public:
    OpenStatFiles();
    explicit OpenStatFiles(std::size_t mostKept)
        : m_mostKept(mostKept)
    {
    }
    OpenStatFiles(const OpenStatFiles&) = delete;
    OpenStatFiles& operator=(const OpenStatFiles&) = delete;
    ~OpenStatFiles();

    ProcessTimes reread() const;

private:
    friend ProcessTimes readProcessTimes(const QString& proc, OpenStatFiles* keep);
    struct Kept {
        int pid = 0;
        int file = -1; // -1: opened again when read
    };
    std::size_t m_mostKept;
    std::size_t m_open = 0;
    int m_proc = -1;
    std::vector<Kept> m_kept;
};

// With `keep`, the stat files read stay open in it.
ProcessTimes readProcessTimes(const QString& proc, OpenStatFiles* keep = nullptr);

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
