#include "status/MacStatusLive.h"

#include "platform/HomeFolder.h"
#include "status/MacStatusSampler.h"

#include <chrono>
#include <mutex>

using namespace std::chrono_literals;

namespace MacStatusLive {

namespace {

// Walking the Trash takes a while when it is full; its size rarely changes between two snapshots.
std::optional<qint64> recentTrashSize(const QString& home)
{
    using Clock = std::chrono::steady_clock;
    static std::mutex lock;
    static std::optional<Clock::time_point> measuredAt;
    static QString measuredHome;
    static std::optional<qint64> size;

    const std::lock_guard guard(lock);
    const Clock::time_point now = Clock::now();
    if (!measuredAt || now - *measuredAt >= 30s || measuredHome != home) {
        size = MacStatusSampler::trashSize(home);
        measuredAt = now;
        measuredHome = home;
    }
    return size;
}

} // namespace

LocalSystemStatus::Measurement measure(const std::optional<LocalSystemStatus::Processes>& processes)
{
    const MacStatusSampler::Sources live;
    // Local statics: read once, by the first caller, while later callers wait for it.
    static const LocalSystemOverview overview = MacStatusSampler::overview(live);
    static const BatteryDetails batteryDetails =
        MacStatusSampler::batteryDetails(live.run, &HealthScore::parseBatteryDetails);
    const QString home = HomeFolder::current();
    return MacStatusSampler::measure(live, processes, home,
                                     {overview, batteryDetails, recentTrashSize(home)});
}

} // namespace MacStatusLive
