#include "status/LinuxStatusSampler.h"

#include "platform/FileWalker.h"
#include "platform/HomeFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSysInfo>
#include <QUrl>

#include <algorithm>
#include <mutex>
#include <unistd.h>

namespace LinuxStatusSampler {

// The CPU and process times at one moment.
struct Sampler::Reading {
    std::optional<CpuTimes> cpu;
    ProcessTimes processes;
};

namespace {

QString text(const QString& path)
{
    return readKernelFile(path).value_or(QString());
}

using Reading = Sampler::Reading;

Reading read(const Roots& roots, bool withProcesses, OpenStatFiles* keep = nullptr)
{
    return {parseCpuTimes(text(roots.proc + QStringLiteral("/stat"))),
            withProcesses ? readProcessTimes(roots.proc, keep) : ProcessTimes{}};
}

Reading readAgain(const Roots& roots, const OpenStatFiles& files)
{
    return {parseCpuTimes(text(roots.proc + QStringLiteral("/stat"))), files.reread()};
}

// Two readings and the clock ticks that passed between them on one CPU.
struct Readings {
    Reading first, second;
    std::optional<CpuLoad> load;
    double elapsedTicks = 0;
};

Readings between(Reading first, Reading second, double elapsedSeconds)
{
    Readings readings{std::move(first), std::move(second), std::nullopt, 0};
    if (readings.first.cpu && readings.second.cpu)
        readings.load = cpuLoad(*readings.first.cpu, *readings.second.cpu);
    // The kernel's own ticks tell the time that passed, in the unit the process times are counted in.
    readings.elapsedTicks =
        readings.load ? readings.load->elapsedTicks : elapsedSeconds * double(sysconf(_SC_CLK_TCK));
    return readings;
}

Readings readTwice(const Roots& roots, bool withProcesses, std::chrono::milliseconds interval)
{
    QElapsedTimer clock;
    clock.start();
    // The second reading rereads the stat files the first left open: no second walk of /proc.
    OpenStatFiles files;
    Reading first = read(roots, withProcesses, &files);
    if (roots.wait)
        roots.wait(interval);
    Reading second = readAgain(roots, files);
    return between(std::move(first), std::move(second), double(clock.nsecsElapsed()) / 1e9);
}

std::optional<SystemReport::CPU> cpu(const Roots& roots, const Readings& readings)
{
    const auto average = parseLoadAverage(text(roots.proc + QStringLiteral("/loadavg")));
    const auto& times = readings.second.cpu;
    if (!times && !average)
        return std::nullopt;
    SystemReport::CPU cpu;
    if (times && !times->cores.empty())
        cpu.logicalCPU = int(times->cores.size());
    const int physical = physicalCoreCount(text(roots.proc + QStringLiteral("/cpuinfo")));
    cpu.coreCount = physical > 0 ? std::optional<int>(physical) : cpu.logicalCPU;
    if (average) {
        std::tie(cpu.load1, cpu.load5, cpu.load15) = std::tuple((*average)[0], (*average)[1], (*average)[2]);
        cpu.loadAverage = std::vector<double>(average->begin(), average->end());
    }
    if (readings.load) {
        cpu.usage = readings.load->usage;
        cpu.perCore = readings.load->perCore;
        cpu.perCoreEstimated = false;
    } else if (average && cpu.logicalCPU) {
        // No time passed between the readings (or /proc/stat is unreadable): the load stands in.
        cpu.usage = std::clamp((*average)[0] / *cpu.logicalCPU * 100, 0.0, 100.0);
        cpu.perCoreEstimated = true;
    }
    return cpu;
}

std::vector<InterfaceCounters> interfaces(const Roots& roots)
{
    const QMap<QString, QString> addresses = roots.addresses ? *roots.addresses : interfaceAddresses();
    std::vector<InterfaceCounters> interfaces;
    for (const auto& [name, bytes] : parseNetDev(text(roots.proc + QStringLiteral("/net/dev")))) {
        if (!isActiveInterface(roots.sys, name))
            continue;
        const QString address = addresses.value(name);
        interfaces.push_back({name, bytes.first, bytes.second,
                              address.isEmpty() ? std::nullopt : std::optional<QString>(address)});
    }
    std::sort(interfaces.begin(), interfaces.end(), [](const auto& a, const auto& b) {
        return std::pair(!a.ip.has_value(), a.name) < std::pair(!b.ip.has_value(), b.name);
    });
    return interfaces;
}

std::optional<SystemReport::Thermal> thermal(const Roots& roots, const PowerSupplies& supplies)
{
    SystemReport::Thermal thermal;
    thermal.cpuTemp = cpuTemperature(roots.sys);
    thermal.batteryTemp = supplies.batteryTemp;
    thermal.batteryPower = supplies.batteryPower;
    thermal.adapterPower = supplies.adapterPower;
    return thermal == SystemReport::Thermal{} ? std::nullopt : std::optional(thermal);
}

// Everything but the overview and the Trash, which the live sampler keeps between calls.
LocalSystemStatus::Measurement measureChanging(const Roots& roots,
                                               const std::optional<LocalSystemStatus::Processes>& given,
                                               const Readings& readings)
{
    LocalSystemStatus::Measurement measurement;
    SystemReport& report = measurement.report;
    report.cpu = cpu(roots, readings);
    report.memory = memory(parseMemInfo(text(roots.proc + QStringLiteral("/meminfo"))));
    if (given) {
        measurement.processes = *given;
    } else {
        measurement.processes =
            processesBetween(readings.first.processes, readings.second.processes, readings.elapsedTicks,
                             report.memory ? report.memory->total : std::nullopt);
        measurement.processCount = int(readings.second.processes.size());
    }

    const auto kernel = readKernelFile(roots.proc + QStringLiteral("/sys/kernel/osrelease"));
    report.platform = QStringLiteral("linux") + (kernel ? QLatin1Char(' ') + kernel->trimmed() : QString());
    report.uptimeSeconds = parseUptime(text(roots.proc + QStringLiteral("/uptime")));
    const QString host = text(roots.proc + QStringLiteral("/sys/kernel/hostname")).trimmed();
    measurement.baseHost = host.isEmpty() ? QSysInfo::machineHostName() : host;

    if (const auto mountinfo = readKernelFile(roots.proc + QStringLiteral("/self/mountinfo"))) {
        // "/" is named for the distribution, as the system disk of other systems is named for theirs.
        const auto distribution =
            osReleaseValue(text(roots.etc + QStringLiteral("/os-release")), QStringLiteral("NAME"));
        report.disks = disks(parseMountInfo(*mountinfo), roots.space, roots.sys,
                             distribution.value_or(QStringLiteral("Linux")));
    }
    measurement.diskBytes =
        diskBytes(text(roots.proc + QStringLiteral("/diskstats")), physicalBlockDevices(roots.sys));
    measurement.interfaces = interfaces(roots);

    const PowerSupplies supplies = powerSupplies(roots.sys);
    report.batteries = supplies.batteries;
    report.thermal = thermal(roots, supplies);
    report.proxy = proxy(roots.environment);
    return measurement;
}

void addTrash(LocalSystemStatus::Measurement& measurement, std::optional<qint64> size)
{
    measurement.report.trashSize = size;
    if (size)
        measurement.report.trashApprox = false;
}

Roots liveRoots()
{
    Roots roots;
    roots.home = HomeFolder::current();
    return roots;
}

// A reading this recent is too close to measure from: its ticks would be few.
constexpr std::chrono::milliseconds shortestSpan{500};

// The sampler of this process, and the lock that keeps its callers one at a time.
std::pair<Sampler&, std::unique_lock<std::mutex>> live()
{
    static Sampler sampler(liveRoots());
    static std::mutex lock;
    return {sampler, std::unique_lock(lock)};
}

} // namespace

Sampler::Sampler(Roots roots)
    : m_roots(std::move(roots))
    , m_details(m_roots.proc)
{
}

Sampler::~Sampler() = default;

LocalSystemStatus::Measurement Sampler::measure(const std::optional<LocalSystemStatus::Processes>& processes,
                                                std::chrono::milliseconds firstInterval,
                                                std::chrono::milliseconds longestSpan)
{
    const bool withProcesses = !processes;
    const bool fromLast = m_last && (!withProcesses || !m_last->processes.empty()) &&
                          !m_lastTaken.hasExpired(longestSpan.count()) &&
                          m_lastTaken.hasExpired(shortestSpan.count());
    Readings readings = fromLast ? between(std::move(*m_last), read(m_roots, withProcesses),
                                           double(m_lastTaken.nsecsElapsed()) / 1e9)
                                 : readTwice(m_roots, withProcesses, firstInterval);
    m_lastTaken.start();
    if (withProcesses)
        m_details.keepOnly(readings.second.processes);

    LocalSystemStatus::Measurement measurement = measureChanging(m_roots, processes, readings);
    // This reading is where the next measurement starts from; it is moved, not copied.
    m_last = std::make_unique<Reading>(std::move(readings.second));
    if (!m_overview)
        m_overview = overview(m_roots);
    measurement.overview = *m_overview;
    // Walking the Trash on every refresh would cost more than the rest together.
    if (!m_trashMeasured.isValid() || m_trashMeasured.hasExpired(30'000)) {
        m_trash = trashSize(m_roots);
        m_trashMeasured.start();
    }
    addTrash(measurement, m_trash);
    return measurement;
}

LocalSystemStatus::Measurement measure(const Roots& roots,
                                       const std::optional<LocalSystemStatus::Processes>& processes,
                                       std::chrono::milliseconds cpuInterval)
{
    Sampler sampler(roots);
    LocalSystemStatus::Measurement measurement = sampler.measure(processes, cpuInterval);
    if (!processes)
        for (SystemReport::ProcessInfo& process : measurement.processes)
            sampler.describe(process);
    return measurement;
}

LocalSystemStatus::Measurement measure(const std::optional<LocalSystemStatus::Processes>& processes,
                                       std::chrono::milliseconds longestSpan)
{
    auto [sampler, guard] = live();
    return sampler.measure(processes, defaultInterval, longestSpan);
}

void describe(SystemReport::ProcessInfo& process)
{
    auto [sampler, guard] = live();
    sampler.describe(process);
}

LocalSystemStatus::Processes processes(std::chrono::milliseconds interval)
{
    Roots roots = liveRoots();
    roots.home.clear(); // the Trash is not wanted
    return measure(roots, std::nullopt, interval).processes;
}

LocalSystemOverview overview(const Roots& roots)
{
    LocalSystemOverview overview;
    overview.modelName = dmiValue(roots.sys, QStringLiteral("product_name"));
    overview.modelIdentifier = dmiValue(roots.sys, QStringLiteral("product_version"));
    if (!overview.modelIdentifier)
        overview.modelIdentifier = dmiValue(roots.sys, QStringLiteral("board_name"));
    overview.chipName = processorName(text(roots.proc + QStringLiteral("/cpuinfo")));
    overview.osVersion =
        osReleaseValue(text(roots.etc + QStringLiteral("/os-release")), QStringLiteral("PRETTY_NAME"));
    return overview;
}

std::optional<qint64> trashSize(const Roots& roots)
{
    const QString dataHome = roots.environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (!QDir::isAbsolutePath(dataHome) && (roots.home.isEmpty() || !QFileInfo(roots.home).isDir()))
        return std::nullopt;
    // No Trash folder yet is an empty Trash.
    const QString trash =
        (QDir::isAbsolutePath(dataHome) ? dataHome : roots.home + QStringLiteral("/.local/share")) +
        QStringLiteral("/Trash/");
    return FileWalker::measure(trash + QStringLiteral("files")).allocatedBytes +
           FileWalker::measure(trash + QStringLiteral("info")).allocatedBytes;
}

SystemReport::Proxy proxy(const QProcessEnvironment& environment)
{
    SystemReport::Proxy proxy;
    proxy.enabled = false;
    // The variable names what goes through the proxy; a socks scheme makes it a SOCKS proxy, and
    // anything else (all_proxy without one included) is an HTTP proxy, as curl reads them.
    for (const auto& [variable, type] :
         {std::pair{"https_proxy", "HTTPS"}, {"http_proxy", "HTTP"}, {"all_proxy", "HTTP"}}) {
        const QString name = QLatin1String(variable);
        QString value = environment.value(name).trimmed();
        if (value.isEmpty())
            value = environment.value(name.toUpper()).trimmed();
        // "host:port" without a scheme is how many set it.
        const QUrl url(value.contains(QLatin1String("://")) ? value : QStringLiteral("http://") + value);
        if (value.isEmpty() || !url.isValid() || url.host().isEmpty())
            continue;
        proxy.enabled = true;
        proxy.type = url.scheme().startsWith(QLatin1String("socks")) ? QStringLiteral("SOCKS")
                                                                     : QString::fromLatin1(type);
        proxy.host = url.adjusted(QUrl::RemoveUserInfo).authority();
        break;
    }
    return proxy;
}

} // namespace LinuxStatusSampler
