#include "status/LocalSystemStatus.h"

#include "vocabulary/SizeText.h"

#include <algorithm>
#include <numeric>

namespace LocalSystemStatus {

namespace {

constexpr qsizetype busiestShown = 5;

std::optional<QString> gigabytes(std::optional<qint64> bytes)
{
    if (!bytes || *bytes <= 0)
        return std::nullopt;
    return SizeText::statusGigabytes(*bytes);
}

SystemReport::Hardware hardwareOf(const LocalSystemOverview& overview, std::optional<qint64> memoryTotal,
                                  std::optional<qint64> diskTotal)
{
    SystemReport::Hardware hardware;
    hardware.model = overview.modelName ? overview.modelName : overview.modelIdentifier;
    hardware.cpuModel = overview.chipName;
    hardware.totalRAM = gigabytes(memoryTotal);
    hardware.diskSize = gigabytes(diskTotal);
    hardware.osVersion = overview.osVersion;
    if (overview.displayRefreshRate.value_or(0) > 0)
        hardware.refreshRate = QString::number(*overview.displayRefreshRate) + QStringLiteral("Hz");
    return hardware;
}

} // namespace

void sortByCPU(Processes& processes)
{
    std::stable_sort(processes.begin(), processes.end(),
                     [](const auto& a, const auto& b) { return a.cpu.value_or(0) > b.cpu.value_or(0); });
}

Processes busiest(const Processes& processes)
{
    return {processes.begin(), processes.begin() + std::min(busiestShown, qsizetype(processes.size()))};
}

Processes shownProcesses(const Processes& all, const ProcessControl::Viewer& viewer, int rows,
                         const std::function<void(SystemReport::ProcessInfo&)>& describe)
{
    std::vector<std::size_t> order(all.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::vector<std::optional<SystemReport::ProcessInfo>> described(all.size());
    std::vector<bool> shown(all.size());
    for (const auto measure : {&SystemReport::ProcessInfo::cpu, &SystemReport::ProcessInfo::memory}) {
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return (all[a].*measure).value_or(0) > (all[b].*measure).value_or(0);
        });
        int listed = 0;
        for (auto at = order.begin(); at != order.end() && listed < rows; ++at) {
            std::optional<SystemReport::ProcessInfo>& process = described[*at];
            if (!process) {
                process = all[*at];
                describe(*process);
            }
            if (ProcessControl::isListed(*process, viewer)) {
                shown[*at] = true;
                ++listed;
            }
        }
    }
    Processes result;
    for (std::size_t at = 0; at < all.size(); ++at)
        if (shown[at])
            result.push_back(*described[at]);
    sortByCPU(result);
    return result;
}

QString memoryPressure(double usedPercent)
{
    if (usedPercent >= 95)
        return QStringLiteral("critical");
    if (usedPercent >= 82)
        return QStringLiteral("warn");
    return QStringLiteral("normal");
}

std::optional<SystemReport::Disk> primaryDisk(const std::vector<SystemReport::Disk>& disks)
{
    for (const char* mount : {"/System/Volumes/Data", "/"})
        for (const SystemReport::Disk& disk : disks)
            if (disk.mount == QLatin1String(mount))
                return disk;
    if (disks.empty())
        return std::nullopt;
    return disks.front();
}

SystemReport complete(Measurement measurement, StatusRates& rates, double now)
{
    SystemReport report = std::move(measurement.report);
    const Processes& processes = measurement.processes;
    if (measurement.processCount)
        report.procs = measurement.processCount;
    else if (!processes.empty())
        report.procs = int(processes.size());
    report.topProcesses = busiest(processes);

    std::optional<qint64> memoryTotal;
    std::optional<double> memoryUsed;
    if (report.memory) {
        memoryTotal = report.memory->total;
        memoryUsed = report.memory->usedPercent;
        if (memoryUsed)
            report.memory->pressure = memoryPressure(*memoryUsed);
    }

    if (const auto& bytes = measurement.diskBytes) {
        report.diskIO = rates.diskRates(bytes->first, bytes->second, now);
        report.diskIOHistory = rates.appendDiskHistory(*report.diskIO);
    }
    std::vector<SystemReport::Network> networks = rates.networkRates(measurement.interfaces, now);
    report.networkHistory = rates.appendNetworkHistory(networks);
    if (!networks.empty())
        report.network = std::move(networks);

    const std::optional<SystemReport::Disk> primary =
        report.disks ? primaryDisk(*report.disks) : std::nullopt;
    const std::optional<qint64> diskTotal = primary ? primary->total : std::nullopt;
    report.healthScore = HealthScore::score(report.cpu ? report.cpu->usage : std::nullopt, memoryUsed,
                                            primary ? primary->usedPercent : std::nullopt);
    report.healthScoreMsg =
        report.healthScore ? HealthScore::verdict(*report.healthScore) : QStringLiteral("Unknown");

    const LocalSystemOverview& overview = measurement.overview;
    report.host = HealthScore::decoratedHost(measurement.baseHost, memoryTotal, diskTotal, overview);
    if (report.uptimeSeconds)
        report.uptime = HealthScore::uptimeText(*report.uptimeSeconds);
    report.hardware = hardwareOf(overview, memoryTotal, diskTotal);
    if (measurement.chipHasGPU && (overview.chipName || overview.gpuCoreCount)) {
        SystemReport::GPU gpu;
        if (overview.chipName)
            gpu.name = *overview.chipName + QStringLiteral(" GPU");
        gpu.coreCount = overview.gpuCoreCount;
        report.gpu = {gpu};
    }
    return report;
}

} // namespace LocalSystemStatus
