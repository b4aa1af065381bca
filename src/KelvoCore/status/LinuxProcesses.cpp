#include "status/LinuxProcesses.h"

#include "status/LinuxSysReaders.h"
#include "vocabulary/TextNumber.h"

#include <QDir>

#include <algorithm>
#include <limits>
#include <unistd.h>

namespace LinuxStatusSampler {

ProcessTimes readProcessTimes(const QString& proc)
{
    ProcessTimes times;
    for (const QString& name : QDir(proc).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const auto number = TextNumber::integer(name, 1, std::numeric_limits<int>::max());
        if (!number)
            continue;
        const int pid = int(*number);
        // A process that ended since the listing has no stat left to read.
        const auto stat = readKernelFile(proc + QLatin1Char('/') + name + QStringLiteral("/stat"));
        if (const auto parsed = stat ? parseProcessStat(*stat) : std::nullopt; parsed && parsed->pid == pid)
            times.emplace(pid, *parsed);
    }
    return times;
}

LocalSystemStatus::Processes processesBetween(const QString& proc, const ProcessTimes& first,
                                              const ProcessTimes& second, double elapsedTicks,
                                              std::optional<qint64> memoryTotal)
{
    static const double pageSize = double(sysconf(_SC_PAGESIZE));
    LocalSystemStatus::Processes processes;
    for (const auto& [pid, now] : second) {
        const QString folder = proc + QLatin1Char('/') + QString::number(pid);
        // Kernel threads and zombies (no arguments left) have nothing to end and are not listed.
        const auto cmdline = readKernelBytes(folder + QStringLiteral("/cmdline"));
        if (!cmdline || cmdline->isEmpty() || isKernelThread(now))
            continue;
        const auto before = first.find(pid);
        const bool same = before != first.end() && before->second.startTime == now.startTime;
        const quint64 ticks =
            same ? now.cpuTicks - std::min(before->second.cpuTicks, now.cpuTicks) : now.cpuTicks;
        const auto [command, name] = commandAndName(*cmdline, now.comm);
        SystemReport::ProcessInfo process;
        process.pid = pid;
        process.ppid = now.ppid;
        process.startTime = qint64(now.startTime);
        process.uid = parseRealUid(readKernelFile(folder + QStringLiteral("/status")).value_or(QString()));
        process.name = name;
        process.command = command;
        if (elapsedTicks > 0)
            process.cpu = double(ticks) / elapsedTicks * 100;
        if (memoryTotal && *memoryTotal > 0)
            process.memory = double(now.rssPages) * pageSize / double(*memoryTotal) * 100;
        processes.push_back(process);
    }
    std::stable_sort(processes.begin(), processes.end(),
                     [](const auto& a, const auto& b) { return a.cpu.value_or(0) > b.cpu.value_or(0); });
    return processes;
}

} // namespace LinuxStatusSampler
