#include "status/LinuxProcesses.h"

#include "status/LinuxSysReaders.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace LinuxStatusSampler {

namespace {

// A stat line is a few hundred bytes; this bounds even a comm of escaped bytes.
constexpr std::size_t statBufferBytes = 4096;

int openStat(int procFolder, const char* pid)
{
    std::array<char, NAME_MAX + sizeof("/stat")> path{}; // any name a folder may have
    std::snprintf(path.data(), path.size(), "%s/stat", pid);
    return openat(procFolder, path.data(), O_RDONLY | O_CLOEXEC);
}

// Reads from the start, so a file kept open reads the process's figures of now.
std::optional<ProcessStat> readStat(int file)
{
    std::array<char, statBufferBytes> buffer{};
    const ssize_t length = pread(file, buffer.data(), buffer.size(), 0);
    if (length <= 0) // it ended since the listing
        return std::nullopt;
    return parseProcessStat(QByteArrayView(buffer.data(), length));
}

bool runsAProgram(const ProcessStat& process)
{
    // A zombie has ended and holds nothing; a kernel thread runs no program and ignores signals.
    return process.state != 'Z' && process.state != 'X' && !isKernelThread(process);
}

// Half of the descriptors this process may have open.
std::size_t descriptorsToKeep()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 512;
    return std::size_t(limit.rlim_cur / 2);
}

void sortByPid(ProcessTimes& times)
{
    std::sort(times.begin(), times.end(), [](const auto& a, const auto& b) { return a.pid < b.pid; });
}

} // namespace

ProcessTimes readProcessTimes(const QString& proc, OpenStatFiles* keep)
{
    ProcessTimes times;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(QFile::encodeName(proc).constData()), closedir);
    if (!folder)
        return times;
    if (keep)
        keep->m_proc = fcntl(dirfd(folder.get()), F_DUPFD_CLOEXEC, 0);
    while (const dirent* entry = readdir(folder.get())) {
        const char* name = entry->d_name;
        if (!std::isdigit(static_cast<unsigned char>(name[0])))
            continue;
        const int file = openStat(dirfd(folder.get()), name);
        if (file < 0) // it ended since the listing
            continue;
        // The pid the line gives must be the folder's: anything else is not that process's stat.
        const std::optional<ProcessStat> stat = readStat(file);
        const bool valid = stat && QByteArrayView(name) == QByteArray::number(stat->pid);
        if (valid)
            times.push_back(*stat);
        if (keep && valid && keep->m_proc >= 0) {
            const bool kept = keep->m_open < keep->m_mostKept;
            keep->m_kept.push_back({stat->pid, kept ? file : -1});
            keep->m_open += kept ? 1 : 0;
            if (kept)
                continue;
        }
        close(file);
    }
    sortByPid(times);
    return times;
}

OpenStatFiles::OpenStatFiles()
    : m_mostKept(descriptorsToKeep())
{
}

OpenStatFiles::~OpenStatFiles()
{
    for (const Kept& kept : m_kept)
        if (kept.file >= 0)
            close(kept.file);
    if (m_proc >= 0)
        close(m_proc);
}

ProcessTimes OpenStatFiles::reread() const
{
    ProcessTimes times;
    times.reserve(m_kept.size());
    for (const Kept& kept : m_kept) {
        std::optional<ProcessStat> stat;
        if (kept.file >= 0) {
            stat = readStat(kept.file);
        } else if (const int file = openStat(m_proc, QByteArray::number(kept.pid).constData()); file >= 0) {
            stat = readStat(file);
            close(file);
        }
        if (stat && stat->pid == kept.pid)
            times.push_back(*stat);
    }
    sortByPid(times);
    return times;
}

LocalSystemStatus::Processes processesBetween(const ProcessTimes& first, const ProcessTimes& second,
                                              double elapsedTicks, std::optional<qint64> memoryTotal)
{
    static const double pageSize = double(sysconf(_SC_PAGESIZE));
    LocalSystemStatus::Processes processes;
    auto before = first.begin();
    for (const ProcessStat& now : second) {
        if (!runsAProgram(now))
            continue;
        // Both readings are sorted by pid: one pass pairs them.
        before = std::lower_bound(before, first.end(), now.pid,
                                  [](const ProcessStat& stat, int pid) { return stat.pid < pid; });
        const bool same =
            before != first.end() && before->pid == now.pid && before->startTime == now.startTime;
        const quint64 ticks = same ? now.cpuTicks - std::min(before->cpuTicks, now.cpuTicks) : now.cpuTicks;
        SystemReport::ProcessInfo process;
        process.pid = now.pid;
        process.ppid = now.ppid;
        process.startTime = qint64(now.startTime);
        process.name = now.comm;
        if (elapsedTicks > 0)
            process.cpu = double(ticks) / elapsedTicks * 100;
        if (memoryTotal && *memoryTotal > 0)
            process.memory = double(now.rssPages) * pageSize / double(*memoryTotal) * 100;
        processes.push_back(std::move(process));
    }
    LocalSystemStatus::sortByCPU(processes);
    return processes;
}

void ProcessDetails::describe(SystemReport::ProcessInfo& process)
{
    if (!process.pid)
        return;
    const std::pair key{*process.pid, process.startTime.value_or(-1)};
    auto known = m_known.find(key);
    if (known == m_known.end()) {
        const QString folder = m_proc + QLatin1Char('/') + QString::number(*process.pid);
        Known read;
        read.uid = parseRealUid(readKernelFile(folder + QStringLiteral("/status")).value_or(QString()));
        if (const auto cmdline = readKernelBytes(folder + QStringLiteral("/cmdline"))) {
            const auto [command, name] = commandAndName(*cmdline, process.name.value_or(QString()));
            read.command = command;
            read.name = name;
        }
        known = m_known.emplace(key, std::move(read)).first;
    }
    process.uid = known->second.uid;
    if (known->second.command) {
        process.command = known->second.command;
        process.name = known->second.name;
    }
}

void ProcessDetails::keepOnly(const ProcessTimes& running)
{
    std::erase_if(m_known, [&](const auto& entry) {
        const auto at = std::lower_bound(running.begin(), running.end(), entry.first.first,
                                         [](const ProcessStat& stat, int pid) { return stat.pid < pid; });
        return at == running.end() || at->pid != entry.first.first ||
               qint64(at->startTime) != entry.first.second;
    });
}

} // namespace LinuxStatusSampler
