#include "status/LinuxProcText.h"

#include "vocabulary/ByteCount.h"
#include "vocabulary/TextNumber.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <limits>

namespace LinuxStatusSampler {

namespace {

QList<QStringView> lines(const QString& text)
{
    return QStringView(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QStringView> words(QStringView line)
{
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// "key : value" (cpuinfo, meminfo): the trimmed key and value, none without a colon.
std::optional<std::pair<QStringView, QStringView>> keyValue(QStringView line)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    return std::pair{line.left(colon).trimmed(), line.mid(colon + 1).trimmed()};
}

quint64 advance(quint64 from, quint64 to)
{
    return to > from ? to - from : 0;
}

// Busy and total ticks between two readings of one CPU line.
std::pair<double, double> busyAndTotal(const CpuTicks& first, const CpuTicks& second)
{
    enum { user, nice, system, idle, iowait, irq, softirq, steal };
    double busy = 0;
    for (const int field : {user, nice, system, irq, softirq, steal})
        busy += double(advance(first[field], second[field]));
    const double resting =
        double(advance(first[idle], second[idle]) + advance(first[iowait], second[iowait]));
    return {busy, busy + resting};
}

double percentOf(double part, double whole)
{
    return whole > 0 ? std::clamp(part / whole * 100, 0.0, 100.0) : 0.0;
}

// The kernel writes a space, a tab, a newline and a backslash in mount fields as \ooo.
QString decodeMountField(QStringView field)
{
    QString decoded;
    decoded.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QStringView digits = field.mid(i + 1, 3);
        bool octal = field[i] == QLatin1Char('\\') && digits.size() == 3;
        for (const QChar digit : digits)
            octal = octal && digit >= QLatin1Char('0') && digit <= QLatin1Char('7');
        if (!octal) {
            decoded += field[i];
            continue;
        }
        decoded += QChar(digits.toUShort(nullptr, 8));
        i += 3;
    }
    return decoded;
}

QString fileName(QStringView path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).toString();
}

} // namespace

std::optional<CpuTimes> parseCpuTimes(const QString& stat)
{
    std::optional<CpuTimes> times;
    std::vector<CpuTicks> cores;
    for (const QStringView line : lines(stat)) {
        if (!line.startsWith(QLatin1String("cpu")))
            continue;
        const QList<QStringView> fields = words(line);
        CpuTicks ticks{};
        for (qsizetype i = 1; i < fields.size() && i <= qsizetype(ticks.size()); ++i)
            ticks[i - 1] = TextNumber::counter(fields[i]).value_or(0);
        if (fields.first() == QLatin1String("cpu"))
            times = CpuTimes{ticks, {}};
        else
            cores.push_back(ticks);
    }
    if (times)
        times->cores = std::move(cores);
    return times;
}

std::optional<CpuLoad> cpuLoad(const CpuTimes& first, const CpuTimes& second)
{
    CpuLoad load;
    double busy = 0, total = 0;
    for (std::size_t i = 0; i < second.cores.size(); ++i) {
        // A core that came online between the readings has no first reading: nothing is known of it.
        const auto [coreBusy, coreTotal] =
            i < first.cores.size() ? busyAndTotal(first.cores[i], second.cores[i]) : std::pair{0.0, 0.0};
        load.perCore.push_back(percentOf(coreBusy, coreTotal));
        busy += coreBusy;
        total += coreTotal;
    }
    if (second.cores.empty())
        std::tie(busy, total) = busyAndTotal(first.all, second.all);
    if (total <= 0)
        return std::nullopt;
    load.usage = percentOf(busy, total);
    const std::size_t measured = std::min(first.cores.size(), second.cores.size());
    load.elapsedTicks = total / double(std::max<std::size_t>(measured, 1));
    return load;
}

std::optional<std::array<double, 3>> parseLoadAverage(const QString& loadavg)
{
    const QList<QStringView> fields = words(QStringView(loadavg).trimmed());
    if (fields.size() < 3)
        return std::nullopt;
    std::array<double, 3> load{};
    for (std::size_t i = 0; i < load.size(); ++i) {
        const std::optional<double> value = TextNumber::finite(fields[qsizetype(i)]);
        if (!value || *value < 0) // a queue's length is never negative
            return std::nullopt;
        load[i] = *value;
    }
    return load;
}

int physicalCoreCount(const QString& cpuinfo)
{
    QSet<QString> cores;
    QString physical, core;
    // A blank line ends one processor's block; the text may lack the last one.
    const QString blocks = cpuinfo + QStringLiteral("\n\n");
    for (const QStringView line : QStringView(blocks).split(QLatin1Char('\n'))) {
        const auto field = keyValue(line);
        if (field && field->first == QLatin1String("physical id"))
            physical = field->second.toString();
        else if (field && field->first == QLatin1String("core id"))
            core = field->second.toString();
        else if (line.trimmed().isEmpty() && !physical.isEmpty() && !core.isEmpty()) {
            cores.insert(physical + QLatin1Char(':') + core);
            physical.clear();
            core.clear();
        }
    }
    return int(cores.size());
}

std::optional<QString> processorName(const QString& cpuinfo)
{
    QMap<QString, QString> first; // each key's first value: every processor repeats it
    for (const QStringView line : lines(cpuinfo))
        if (const auto field = keyValue(line);
            field && !field->second.isEmpty() && !first.contains(field->first.toString()))
            first.insert(field->first.toString(), field->second.toString());
    for (const char* key : {"model name", "Hardware", "Model"})
        if (first.contains(QLatin1String(key)))
            return first.value(QLatin1String(key));
    return std::nullopt;
}

QMap<QString, qint64> parseMemInfo(const QString& meminfo)
{
    QMap<QString, qint64> values;
    for (const QStringView line : lines(meminfo)) {
        const auto field = keyValue(line);
        const QList<QStringView> amount = field ? words(field->second) : QList<QStringView>{};
        // No amount is negative; one past the 64-bit range stays at the largest.
        const auto value = amount.isEmpty() ? std::nullopt : TextNumber::integer(amount.first(), 0);
        if (value)
            values.insert(field->first.toString(), amount.size() > 1 && amount[1] == QLatin1String("kB")
                                                       ? ByteCount::saturatingMultiply(*value, 1024)
                                                       : *value);
    }
    return values;
}

std::optional<SystemReport::Memory> memory(const QMap<QString, qint64>& meminfo)
{
    const qint64 total = meminfo.value(QStringLiteral("MemTotal"));
    if (total <= 0)
        return std::nullopt;
    // Used is what cannot be had back without swapping: the kernel's own estimate of what is available
    // (MemAvailable) counts reclaimable caches as free. `free` shows a little more as used, since it
    // also counts the unreclaimable part of the caches as free.
    const auto sum = [&](std::initializer_list<const char*> keys) {
        return ByteCount::total(keys, [&](const char* key) { return meminfo.value(QLatin1String(key)); });
    };
    const qint64 available = meminfo.contains(QStringLiteral("MemAvailable"))
                                 ? meminfo.value(QStringLiteral("MemAvailable"))
                                 : sum({"MemFree", "Buffers", "Cached"});
    SystemReport::Memory memory;
    memory.total = total;
    memory.used = std::clamp<qint64>(ByteCount::saturatingSubtract(total, available), 0, total);
    memory.usedPercent = percentOf(double(*memory.used), double(total));
    memory.cached = sum({"Cached", "Buffers", "SReclaimable"});
    memory.swapTotal = meminfo.value(QStringLiteral("SwapTotal"));
    memory.swapUsed = std::max<qint64>(
        ByteCount::saturatingSubtract(*memory.swapTotal, meminfo.value(QStringLiteral("SwapFree"))), 0);
    return memory;
}

std::optional<qint64> parseUptime(const QString& uptime)
{
    const QList<QStringView> fields = words(QStringView(uptime).trimmed());
    const std::optional<double> seconds =
        fields.isEmpty() ? std::nullopt : TextNumber::finite(fields.first());
    return seconds ? TextNumber::whole(*seconds, 0) : std::nullopt;
}

std::vector<MountEntry> parseMountInfo(const QString& mountinfo)
{
    // id parent major:minor root mountpoint options [optional fields...] - fstype source superoptions
    std::vector<MountEntry> entries;
    for (const QStringView line : lines(mountinfo)) {
        const QList<QStringView> fields = words(line);
        const qsizetype separator = fields.indexOf(QStringView(u"-"));
        if (separator < 6 || separator + 2 >= fields.size())
            continue;
        entries.push_back({fields[2].toString(), decodeMountField(fields[4]),
                           decodeMountField(fields[separator + 1]), decodeMountField(fields[separator + 2])});
    }
    return entries;
}

std::optional<std::pair<quint64, quint64>> diskBytes(const QString& diskstats, const QStringList& devices)
{
    // major minor name reads merged sectors-read ms writes merged sectors-written ...; a sector is
    // 512 bytes whatever the device's own sector size.
    std::optional<std::pair<quint64, quint64>> bytes;
    for (const QStringView line : lines(diskstats)) {
        const QList<QStringView> fields = words(line);
        if (fields.size() < 10 ||
            !devices.contains(fields[2].toString().replace(QLatin1Char('/'), QLatin1Char('!'))))
            continue;
        const auto sectorBytes = [](QStringView sectors) {
            return quint64(ByteCount::saturatingMultiply(TextNumber::integer(sectors, 0).value_or(0), 512));
        };
        bytes = std::pair{(bytes ? bytes->first : 0) + sectorBytes(fields[5]),
                          (bytes ? bytes->second : 0) + sectorBytes(fields[9])};
    }
    return bytes;
}

std::vector<std::pair<QString, std::pair<quint64, quint64>>> parseNetDev(const QString& netdev)
{
    // "name: rx-bytes packets errs drop fifo frame compressed multicast tx-bytes ..." after two
    // header lines without a colon.
    std::vector<std::pair<QString, std::pair<quint64, quint64>>> interfaces;
    for (const QStringView line : lines(netdev)) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        const QList<QStringView> counters = colon < 0 ? QList<QStringView>{} : words(line.mid(colon + 1));
        if (counters.size() < 9)
            continue;
        const QStringView name = line.left(colon).trimmed();
        const std::optional<quint64> received = TextNumber::counter(counters[0]);
        const std::optional<quint64> sent = TextNumber::counter(counters[8]);
        // A line without a name or whose counters do not read is not an interface's.
        if (!name.isEmpty() && received && sent)
            interfaces.push_back({name.toString(), {*received, *sent}});
    }
    return interfaces;
}

std::optional<ProcessStat> parseProcessStat(QByteArrayView stat)
{
    // "pid (comm) state ppid ...": comm may hold spaces and parentheses, so it ends at the last ')'.
    // Read from the bytes as they come: the list reads one of these per process per refresh.
    const qsizetype open = stat.indexOf('('), close = stat.lastIndexOf(')');
    if (open < 0 || close < open)
        return std::nullopt;
    // After comm: state(0) ppid(1) pgrp(2) session(3) tty(4) tpgid(5) flags(6) ... utime(11) stime(12) ...
    // starttime(19) vsize(20) rss(21).
    std::array<QByteArrayView, 22> fields;
    std::size_t count = 0;
    for (qsizetype at = close + 1; at < stat.size() && count < fields.size();) {
        const auto space = [&](qsizetype i) { return std::isspace(static_cast<unsigned char>(stat[i])); };
        while (at < stat.size() && space(at))
            ++at;
        const qsizetype begin = at;
        while (at < stat.size() && !space(at))
            ++at;
        if (at > begin)
            fields[count++] = stat.sliced(begin, at - begin);
    }
    const auto number = [](QByteArrayView text, qint64 lowest, qint64 highest) -> std::optional<qint64> {
        qint64 value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
            return std::nullopt;
        return value;
    };
    constexpr qint64 intMax = std::numeric_limits<int>::max();
    const auto pid = number(stat.first(open).trimmed(), 1, intMax); // no process is 0
    if (!pid || count < fields.size() || fields[0].size() != 1)
        return std::nullopt;
    ProcessStat process;
    process.pid = int(*pid);
    process.state = fields[0].front();
    process.comm = QString::fromUtf8(stat.sliced(open + 1, close - open - 1));
    process.ppid = int(number(fields[1], 0, intMax).value_or(0));
    quint64 flags = 0;
    if (std::from_chars(fields[6].data(), fields[6].data() + fields[6].size(), flags).ec == std::errc())
        process.flags = flags;
    const auto ticks = [&](QByteArrayView text) {
        return number(text, 0, std::numeric_limits<qint64>::max()).value_or(0);
    };
    process.cpuTicks = quint64(ByteCount::saturatingAdd(ticks(fields[11]), ticks(fields[12])));
    process.startTime = quint64(ticks(fields[19]));
    process.rssPages = ticks(fields[21]);
    return process;
}

bool isKernelThread(const ProcessStat& process)
{
    constexpr quint64 kernelThreadFlag = 0x00200000; // PF_KTHREAD
    constexpr int kthreadd = 2;
    return (process.flags & kernelThreadFlag) != 0 || process.pid == kthreadd || process.ppid == kthreadd;
}

std::optional<qint64> parseRealUid(const QString& status)
{
    // "Uid:\t1000\t1000\t1000\t1000": real, effective, saved and file-system user ids.
    for (const QStringView line : lines(status)) {
        if (!line.startsWith(QLatin1String("Uid:")))
            continue;
        return TextNumber::integer(line.mid(4).toString().simplified().section(QLatin1Char(' '), 0, 0), 0);
    }
    return std::nullopt;
}

std::pair<QString, QString> commandAndName(const QByteArray& cmdline, const QString& comm)
{
    QByteArray arguments = cmdline;
    while (arguments.endsWith('\0'))
        arguments.chop(1);
    if (arguments.isEmpty())
        return {QLatin1Char('[') + comm + QLatin1Char(']'), comm};
    const QString executable = QString::fromUtf8(arguments.split('\0').constFirst());
    const QString command = QString::fromUtf8(arguments.replace('\0', ' '));
    // A process that rewrote its arguments ("sshd: user@pts/0", "chrome --type=renderer") may have put
    // anything in the first one; comm, which the kernel set from the executable's name (cut to 15
    // characters), tells which reading of it names the executable.
    const auto agrees = [&](const QString& name) {
        return !name.isEmpty() &&
               (comm.isEmpty() || name == comm || (comm.size() == 15 && name.startsWith(comm)));
    };
    for (const QString& name :
         {fileName(executable), fileName(QStringView(executable).split(QLatin1Char(' ')).first())})
        if (agrees(name))
            return {command, name};
    return {command, comm};
}

std::optional<QString> osReleaseValue(const QString& osRelease, const QString& key)
{
    for (const QStringView line : lines(osRelease)) {
        if (!line.startsWith(key + QLatin1Char('=')))
            continue;
        QString value = line.mid(key.size() + 1).trimmed().toString();
        if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        for (const char* escaped : {"\\\"", "\\$", "\\`", "\\\\"})
            value.replace(QLatin1String(escaped), QLatin1String(escaped + 1));
        if (!value.isEmpty())
            return value;
    }
    return std::nullopt;
}

} // namespace LinuxStatusSampler
