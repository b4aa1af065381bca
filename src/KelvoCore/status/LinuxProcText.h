#pragma once

#include "status/SystemReport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>
#include <utility>
#include <vector>

// What the files of /proc say, read from their text alone: every function here is pure, so tests feed
// them a file's contents. Figures the text does not hold are left unknown.
namespace LinuxStatusSampler {

// One CPU line of /proc/stat: user, nice, system, idle, iowait, irq, softirq, steal (clock ticks).
using CpuTicks = std::array<quint64, 8>;
struct CpuTimes {
    CpuTicks all{};              // the "cpu" line
    std::vector<CpuTicks> cores; // the "cpuN" lines, in their order
};
// None without a "cpu" line.
std::optional<CpuTimes> parseCpuTimes(const QString& stat);

struct CpuLoad {
    double usage = 0;            // every core together, 0 to 100
    std::vector<double> perCore; // one per core of the second reading
    double elapsedTicks = 0;     // clock ticks that passed on one core between the readings
};
// The share of busy ticks between two readings, each counter's advance floored at 0 (some, iowait
// among them, can step back); none when no tick passed.
std::optional<CpuLoad> cpuLoad(const CpuTimes& first, const CpuTimes& second);

// load1, load5 and load15 of /proc/loadavg.
std::optional<std::array<double, 3>> parseLoadAverage(const QString& loadavg);
// The distinct (physical id, core id) pairs of /proc/cpuinfo; 0 when it names none (ARM, some VMs).
int physicalCoreCount(const QString& cpuinfo);
// The processor's name: "model name", else the ARM "Hardware" or "Model" line.
std::optional<QString> processorName(const QString& cpuinfo);

// Every "Key: value kB" line of /proc/meminfo, in bytes.
QMap<QString, qint64> parseMemInfo(const QString& meminfo);
// The memory figures without the pressure; none without MemTotal.
std::optional<SystemReport::Memory> memory(const QMap<QString, qint64>& meminfo);

// Whole seconds since boot, from /proc/uptime.
std::optional<qint64> parseUptime(const QString& uptime);

// One line of /proc/self/mountinfo, its escapes (\040 for a space...) decoded.
struct MountEntry {
    QString deviceNumber; // "major:minor", the same for every mount of one file system
    QString mountPoint, fstype, source;
};
std::vector<MountEntry> parseMountInfo(const QString& mountinfo);

// Read and written bytes of /proc/diskstats summed over the named devices (as /sys/block names
// them, "!" for "/"); none when no line names one of them.
std::optional<std::pair<quint64, quint64>> diskBytes(const QString& diskstats, const QStringList& devices);

// Every interface of /proc/net/dev with its received and sent bytes, in the file's order.
std::vector<std::pair<QString, std::pair<quint64, quint64>>> parseNetDev(const QString& netdev);

// The fields of /proc/[pid]/stat that the process list needs.
struct ProcessStat {
    int pid = 0, ppid = 0;
    QString comm;          // the kernel's name for it, at most 15 characters
    quint64 cpuTicks = 0;  // utime + stime
    quint64 startTime = 0; // ticks after boot: tells a reused pid apart
    qint64 rssPages = 0;
    quint64 flags = 0; // the kernel's PF_* flags
    char state = 0;    // R, S, D, Z (a zombie: ended, not yet reaped), ...
};
// None when the text is not a process's stat line (a short or unreadable one).
std::optional<ProcessStat> parseProcessStat(QByteArrayView stat);
// A kernel thread (the PF_KTHREAD flag, or kthreadd, pid 2, and its children): it runs no program of
// its own, and a signal does not end it.
bool isKernelThread(const ProcessStat& process);
// The real user id of the "Uid:" line of /proc/[pid]/status.
std::optional<qint64> parseRealUid(const QString& status);
// The command line (NUL-separated arguments joined by spaces, "[comm]" when empty, as for kernel
// threads) and the name: the executable's file name when it agrees with comm, which it completes past
// comm's 15 characters; comm itself when the process rewrote its arguments.
std::pair<QString, QString> commandAndName(const QByteArray& cmdline, const QString& comm);

// A KEY=value of an os-release file, its quotes removed.
std::optional<QString> osReleaseValue(const QString& osRelease, const QString& key);

} // namespace LinuxStatusSampler
