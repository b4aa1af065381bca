#include "status/MacStatusSampler.h"

#include "platform/FileWalker.h"
#include "platform/MacKernel.h"
#include "status/MacToolParsers.h"
#include "status/MacVolumes.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/PathText.h"
#include "vocabulary/TextNumber.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QOperatingSystemVersion>
#include <QRegularExpression>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <limits>

using namespace std::chrono_literals;

namespace MacStatusSampler {

namespace {

ToolRunner::Request tool(const QString& program, const QStringList& arguments,
                         std::chrono::seconds timeLimit = 5s)
{
    return {program, arguments, timeLimit};
}

// system_profiler gathers before it prints: it gets longer than the other tools.
ToolRunner::Request profiler(const QStringList& arguments)
{
    return tool(QStringLiteral("/usr/sbin/system_profiler"), arguments, 15s);
}

// A tool's output when it ran to a clean end.
std::optional<QString> output(const Runner& run, const ToolRunner::Request& request)
{
    const ToolRunner::Result result = run(request);
    if (!result.succeeded())
        return std::nullopt;
    return QString::fromUtf8(result.standardOutput);
}

std::optional<QString> value(const QMap<QString, QString>& values, const QString& key)
{
    const auto found = values.constFind(key);
    return found == values.constEnd() ? std::nullopt : std::optional(*found);
}

std::optional<int> kernelInteger(bool live, const QByteArray& name)
{
    const std::optional<qint64> number = live ? MacKernel::sysctlInteger(name) : std::nullopt;
    return number ? std::optional(static_cast<int>(*number)) : std::nullopt;
}

quint64 advance(quint64 before, quint64 after)
{
    return after > before ? after - before : 0;
}

struct TickUsage {
    std::vector<double> perCore;
    double overall = 0;
};

// Busy (user, system and nice) time over all time across two tick readings 0.2 s apart.
std::optional<TickUsage> tickUsage()
{
    const std::optional<std::vector<MacKernel::CpuTicks>> before = MacKernel::cpuTicks();
    if (!before)
        return std::nullopt;
    QThread::msleep(200);
    const std::optional<std::vector<MacKernel::CpuTicks>> after = MacKernel::cpuTicks();
    if (!after || after->size() != before->size())
        return std::nullopt;
    TickUsage usage;
    quint64 busyTicks = 0, allTicks = 0;
    for (size_t i = 0; i < before->size(); ++i) {
        const MacKernel::CpuTicks& a = (*before)[i];
        const MacKernel::CpuTicks& b = (*after)[i];
        const quint64 busy = advance(a.user, b.user) + advance(a.system, b.system) + advance(a.nice, b.nice);
        const quint64 all = busy + advance(a.idle, b.idle);
        usage.perCore.push_back(all > 0 ? 100.0 * static_cast<double>(busy) / static_cast<double>(all) : 0.0);
        busyTicks += busy;
        allTicks += all;
    }
    if (allTicks > 0)
        usage.overall = 100.0 * static_cast<double>(busyTicks) / static_cast<double>(allTicks);
    return usage;
}

SystemReport::CPU cpuReading(bool live)
{
    SystemReport::CPU cpu;
    cpu.logicalCPU = kernelInteger(live, "hw.logicalcpu").value_or(QThread::idealThreadCount());
    cpu.coreCount = kernelInteger(live, "hw.physicalcpu");
    cpu.pCoreCount = kernelInteger(live, "hw.perflevel0.physicalcpu");
    cpu.eCoreCount = kernelInteger(live, "hw.perflevel1.physicalcpu");
    if (const auto loads = live ? MacKernel::loadAverages() : std::nullopt) {
        cpu.load1 = (*loads)[0];
        cpu.load5 = (*loads)[1];
        cpu.load15 = (*loads)[2];
        cpu.loadAverage = std::vector<double>(loads->begin(), loads->end());
    }
    if (const auto ticks = live ? tickUsage() : std::nullopt) {
        cpu.perCore = ticks->perCore;
        cpu.usage = ticks->overall;
    } else if (cpu.load1 && *cpu.logicalCPU > 0) {
        // Without tick counters the load stands in: a load of one per logical CPU is full use.
        cpu.usage = *cpu.load1 / *cpu.logicalCPU * 100.0;
    }
    if (cpu.usage)
        cpu.usage = std::clamp(*cpu.usage, 0.0, 100.0);
    cpu.perCoreEstimated = !cpu.perCore.has_value();
    return cpu;
}

std::optional<SystemReport::Memory> memoryReading(const Runner& run, bool live)
{
    SystemReport::Memory memory;
    if (live) {
        memory.total = MacKernel::sysctlInteger("hw.memsize");
        if (const std::optional<MacKernel::VmStatistics> vm = MacKernel::vmStatistics()) {
            // What Activity Monitor calls used: app memory, wired and compressed.
            memory.used = static_cast<qint64>((vm->active + vm->wired + vm->compressor) * vm->pageSize);
            memory.cached =
                static_cast<qint64>((vm->inactive + vm->purgeable + vm->speculative) * vm->pageSize);
        }
        if (memory.total && *memory.total > 0 && memory.used)
            memory.usedPercent = std::min(100.0, 100.0 * static_cast<double>(*memory.used) /
                                                     static_cast<double>(*memory.total));
    }
    if (const auto text =
            output(run, tool(QStringLiteral("/usr/sbin/sysctl"), {QStringLiteral("vm.swapusage")}))) {
        const MacToolParsers::SwapUsage swap = MacToolParsers::parseSwapUsage(*text);
        memory.swapUsed = swap.used;
        memory.swapTotal = swap.total;
    }
    if (memory == SystemReport::Memory{})
        return std::nullopt;
    return memory;
}

std::optional<std::vector<SystemReport::Disk>> diskReading(const Runner& run, bool live, const QString& home)
{
    const MacVolumes::MountTable mounts = MacToolParsers::parseMountTable(
        output(run, tool(QStringLiteral("/sbin/mount"), {})).value_or(QString()));
    std::vector<SystemReport::Disk> disks =
        live ? MacVolumes::mounted(mounts) : MacVolumes::fromMountTable(mounts);
    if (disks.empty() && live)
        if (std::optional<SystemReport::Disk> fallback = MacVolumes::homeVolume(home))
            disks.push_back(std::move(*fallback));
    if (disks.empty())
        return std::nullopt;
    return disks;
}

std::optional<SystemReport::Battery> batteryReading(const Runner& run, const BatteryDetails& details)
{
    const auto text =
        output(run, tool(QStringLiteral("/usr/bin/pmset"), {QStringLiteral("-g"), QStringLiteral("batt")}));
    std::optional<SystemReport::Battery> battery =
        text ? MacToolParsers::parseBatterySnapshot(*text) : std::nullopt;
    if (battery) {
        battery->health = details.health;
        battery->cycleCount = details.cycleCount;
        battery->capacity = details.capacity;
    }
    return battery;
}

QString baseHost(bool live)
{
    const QString host = live ? QSysInfo::machineHostName() : QString();
    return host.isEmpty() ? AppLocalization::localized(QStringLiteral("这台 Mac"), QStringLiteral("This Mac"))
                          : host;
}

} // namespace

Runner replayRunner(const QString& dir)
{
    return [dir](const ToolRunner::Request& request) {
        const QStringList words = QStringList{QFileInfo(request.program).fileName()} + request.arguments;
        QFile recorded(QDir(dir).filePath(words.join(QLatin1Char(' ')) + QStringLiteral(".txt")));
        ToolRunner::Result result;
        if (!recorded.open(QIODevice::ReadOnly))
            return result;
        result.started = true;
        result.exitCode = 0;
        result.standardOutput = recorded.readAll();
        return result;
    };
}

LocalSystemOverview overview(const Sources& sources)
{
    const auto values = [&](const QString& dataType) {
        return MacToolParsers::profilerValues(output(sources.run, profiler({dataType})).value_or(QString()));
    };
    const QMap<QString, QString> hardware = values(QStringLiteral("SPHardwareDataType"));
    const QMap<QString, QString> display = values(QStringLiteral("SPDisplaysDataType"));

    LocalSystemOverview overview;
    overview.modelName = value(hardware, QStringLiteral("Model Name"));
    if (!hardware.isEmpty())
        overview.modelIdentifier = value(hardware, QStringLiteral("Model Identifier"));
    else if (sources.live)
        overview.modelIdentifier = MacKernel::sysctlText("hw.model");

    overview.chipName = value(hardware, QStringLiteral("Chip"));
    if (!overview.chipName)
        overview.chipName = value(display, QStringLiteral("Chipset Model"));
    if (!overview.chipName && sources.live) {
        const QString brand = MacKernel::sysctlText("machdep.cpu.brand_string").value_or(QString()).trimmed();
        overview.chipName = brand.isEmpty() ? MacKernel::machine() : std::optional(brand);
    }

    static const QRegularExpression leadingNumber(QStringLiteral("^\\d+"));
    const QRegularExpressionMatch cores =
        leadingNumber.match(value(display, QStringLiteral("Total Number of Cores")).value_or(QString()));
    if (const auto count = cores.hasMatch()
                               ? TextNumber::integer(cores.captured(), 0, std::numeric_limits<int>::max())
                               : std::nullopt)
        overview.gpuCoreCount = int(*count);

    const QOperatingSystemVersion system = QOperatingSystemVersion::current();
    if (sources.live && system.type() == QOperatingSystemVersion::MacOS)
        overview.osVersion = QStringLiteral("%1.%2.%3")
                                 .arg(std::max(0, system.majorVersion()))
                                 .arg(std::max(0, system.minorVersion()))
                                 .arg(std::max(0, system.microVersion()));
    return overview;
}

BatteryDetails batteryDetails(const Runner& run, const std::function<BatteryDetails(const QString&)>& parse)
{
    const ToolRunner::Request requests[] = {
        profiler({QStringLiteral("SPPowerDataType"), QStringLiteral("-detailLevel"), QStringLiteral("mini")}),
        tool(QStringLiteral("/usr/sbin/ioreg"),
             {QStringLiteral("-r"), QStringLiteral("-c"), QStringLiteral("AppleSmartBattery")})};
    BatteryDetails merged;
    const auto fill = [](auto& field, const auto& candidate) {
        if (!field)
            field = candidate;
    };
    for (const ToolRunner::Request& request : requests) {
        const std::optional<QString> text = output(run, request);
        if (!text)
            continue;
        const BatteryDetails details = parse(*text);
        fill(merged.health, details.health);
        fill(merged.cycleCount, details.cycleCount);
        fill(merged.capacity, details.capacity);
        fill(merged.temperature, details.temperature);
    }
    return merged;
}

std::optional<qint64> trashSize(const QString& home)
{
    if (home.isEmpty())
        return std::nullopt;
    qint64 bytes = 0;
    const FileWalker::Outcome outcome = FileWalker::walk(PathText::joined(home, QStringLiteral(".Trash")), {},
                                                         [&](const FileWalker::Item& item) {
                                                             if (item.kind == FileWalker::Kind::file)
                                                                 bytes += item.allocatedBytes;
                                                             return FileWalker::Decision::proceed;
                                                         });
    if (!outcome.rootListed)
        return std::nullopt;
    return bytes;
}

LocalSystemStatus::Processes processes(const Sources& sources)
{
    // Live, each row takes the kernel's start time and owner of its pid, read before and after ps: a
    // pid whose process was the same both times was that process while ps ran. A pid whose process
    // changed meanwhile, and every row of a replay, keeps none, and that row cannot be ended.
    const auto before =
        sources.live ? MacKernel::allProcessFacts() : std::map<int, MacKernel::ProcessFacts>{};
    const auto text =
        output(sources.run, tool(QStringLiteral("/bin/ps"),
                                 {QStringLiteral("-axo"), QStringLiteral("pid=,ppid=,pcpu=,pmem=,comm=")}));
    LocalSystemStatus::Processes listed =
        text ? MacToolParsers::parseProcessSnapshot(*text) : LocalSystemStatus::Processes{};
    const auto after = sources.live ? MacKernel::allProcessFacts() : std::map<int, MacKernel::ProcessFacts>{};
    for (SystemReport::ProcessInfo& process : listed) {
        const auto was = before.find(process.pid.value_or(-1)), is = after.find(process.pid.value_or(-1));
        if (was != before.end() && is != after.end() && was->second == is->second) {
            process.startTime = is->second.startTime;
            process.uid = is->second.uid;
        }
    }
    return listed;
}

LocalSystemStatus::Measurement measure(const Sources& sources,
                                       const std::optional<LocalSystemStatus::Processes>& processes,
                                       const QString& home, const SlowReadings& slow)
{
    const Runner& run = sources.run;
    LocalSystemStatus::Measurement measurement;
    SystemReport& report = measurement.report;

    report.cpu = cpuReading(sources.live);
    report.memory = memoryReading(run, sources.live);
    report.disks = diskReading(run, sources.live, home);
    if (const auto text =
            output(run, tool(QStringLiteral("/usr/sbin/ioreg"), {QStringLiteral("-r"), QStringLiteral("-c"),
                                                                 QStringLiteral("IOBlockStorageDriver")})))
        measurement.diskBytes = MacToolParsers::parseDiskByteCounters(*text);

    measurement.processes = processes ? *processes : MacStatusSampler::processes(sources);

    if (sources.live)
        measurement.interfaces = MacKernel::interfaceCounters();

    if (std::optional<SystemReport::Battery> battery = batteryReading(run, slow.batteryDetails))
        report.batteries.push_back(std::move(*battery));
    if (slow.batteryDetails.temperature) {
        report.thermal.emplace();
        report.thermal->batteryTemp = slow.batteryDetails.temperature;
    }
    if (const auto text = output(run, tool(QStringLiteral("/usr/sbin/scutil"), {QStringLiteral("--proxy")})))
        report.proxy = MacToolParsers::parseProxy(*text);

    measurement.overview = slow.overview;
    if (slow.overview.osVersion)
        report.platform = QStringLiteral("darwin ") + *slow.overview.osVersion;
    measurement.baseHost = baseHost(sources.live);
    if (const std::optional<qint64> boot = sources.live ? MacKernel::bootTime() : std::nullopt)
        report.uptimeSeconds = std::max<qint64>(0, QDateTime::currentSecsSinceEpoch() - *boot);
    report.trashSize = slow.trashSize;
    return measurement;
}

} // namespace MacStatusSampler
