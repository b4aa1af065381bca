// The live sampler of this system, and a Mac's replayed from recorded tool outputs.
#include "status/LocalSystemStatus.h"

#include "status/LinuxStatusSampler.h"
#include "status/MacStatusLive.h"
#include "status/MacStatusSampler.h"

#include <QDateTime>

namespace LocalSystemStatus {

namespace {

double now()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

} // namespace

namespace {

Measurement measured(const std::optional<Processes>& topProcesses)
{
#ifdef Q_OS_MACOS
    return MacStatusLive::measure(topProcesses);
#else
    Measurement measurement = LinuxStatusSampler::measure(topProcesses);
    measurement.chipHasGPU = false;
    return measurement;
#endif
}

} // namespace

SystemReport snapshot(const std::optional<Processes>& topProcesses)
{
    return complete(measured(topProcesses), StatusRates::shared(), now());
}

std::pair<SystemReport, Processes> snapshotWithProcesses()
{
    Measurement measurement = measured(std::nullopt);
    Processes processes = measurement.processes;
    return {complete(std::move(measurement), StatusRates::shared(), now()), std::move(processes)};
}

Processes processSnapshot()
{
#ifdef Q_OS_MACOS
    return MacStatusSampler::processes(MacStatusSampler::Sources{});
#else
    return LinuxStatusSampler::processes();
#endif
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
