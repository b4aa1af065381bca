// The live sampler of this system, and a Mac's replayed from recorded tool outputs.
#include "status/LocalSystemStatus.h"

#include "platform/MacKernel.h"
#include "status/LinuxProcText.h"
#include "status/LinuxStatusSampler.h"
#include "status/LinuxSysReaders.h"
#include "status/MacStatusLive.h"
#include "status/MacStatusSampler.h"

#include <QDateTime>

namespace LocalSystemStatus {

namespace {

double now()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

// This system's sampler, the one choice of system outside the platform layer: what it measures, its
// process list, and who holds a pid, in the same units as that list.
#ifdef Q_OS_MACOS
Measurement measured(const std::optional<Processes>& topProcesses, std::chrono::milliseconds)
{
    return MacStatusLive::measure(topProcesses);
}

// `ps` and the kernel name every process with its user already.
void describe(SystemReport::ProcessInfo&) {}

Processes listed()
{
    return MacStatusSampler::processes(MacStatusSampler::Sources{});
}

std::optional<ProcessIdentity> holder(int pid)
{
    const std::optional<MacKernel::ProcessFacts> facts = MacKernel::processFacts(pid);
    return facts ? std::optional(ProcessIdentity{facts->startTime, false}) : std::nullopt;
}
#else
Measurement measured(const std::optional<Processes>& topProcesses, std::chrono::milliseconds longestSpan)
{
    Measurement measurement = LinuxStatusSampler::measure(topProcesses, longestSpan);
    measurement.chipHasGPU = false;
    return measurement;
}

void describe(SystemReport::ProcessInfo& process)
{
    LinuxStatusSampler::describe(process);
}

Processes listed()
{
    return LinuxStatusSampler::processes();
}

std::optional<ProcessIdentity> holder(int pid)
{
    const auto stat = LinuxStatusSampler::readKernelBytes(QStringLiteral("/proc/%1/stat").arg(pid));
    const auto parsed = stat ? LinuxStatusSampler::parseProcessStat(*stat) : std::nullopt;
    if (!parsed || parsed->pid != pid)
        return std::nullopt;
    return ProcessIdentity{qint64(parsed->startTime), LinuxStatusSampler::isKernelThread(*parsed)};
}
#endif

} // namespace

SystemReport snapshot(const std::optional<Processes>& topProcesses)
{
    Measurement measurement = measured(topProcesses, std::chrono::seconds(10));
    if (!topProcesses)
        measurement.processes =
            shownProcesses(measurement.processes, ProcessControl::currentViewer(true), 5, describe);
    return complete(std::move(measurement), StatusRates::shared(), now());
}

std::pair<SystemReport, Processes> snapshotWithProcesses(const ProcessControl::Viewer& viewer, int rows,
                                                         std::chrono::milliseconds longestSpan,
                                                         StatusRates& rates)
{
    Measurement measurement = measured(std::nullopt, longestSpan);
    // The report's busiest five are the first of what a list of at least five shows.
    measurement.processes = shownProcesses(measurement.processes, viewer, std::max(rows, 5), describe);
    Processes processes = measurement.processes;
    return {complete(std::move(measurement), rates, now()), std::move(processes)};
}

Processes processSnapshot()
{
    return listed();
}

std::optional<ProcessIdentity> processIdentity(int pid)
{
    return holder(pid);
}

SystemReport replaySnapshot(const QString& folder, const QString& home)
{
    const MacStatusSampler::Sources sources{MacStatusSampler::replayRunner(folder), false};
    MacStatusSampler::SlowReadings slow;
    slow.overview = MacStatusSampler::overview(sources);
    slow.batteryDetails = MacStatusSampler::batteryDetails(sources.run, &HealthScore::parseBatteryDetails);
    StatusRates rates; // a replay has no earlier sample: its rates are those of a first sample
    return complete(MacStatusSampler::measure(sources, std::nullopt, home, slow), rates, now());
}

} // namespace LocalSystemStatus
