#include "status/StatusRates.h"

#include <cmath>
#include <numeric>

namespace {

constexpr double bytesPerMB = 1024.0 * 1024.0;

// Appends a sample and keeps the last `historyLength`; returns them oldest first.
std::vector<double> appended(std::deque<double>& history, double sample)
{
    history.push_back(sample);
    while (qsizetype(history.size()) > StatusRates::historyLength)
        history.pop_front();
    return {history.begin(), history.end()};
}

std::optional<double> rateBetween(std::optional<quint64> current, std::optional<quint64> previous,
                                  double elapsed)
{
    if (!current || !previous || *current < *previous || elapsed <= 0)
        return std::nullopt;
    return StatusRates::transferRateMBs(*current, *previous, elapsed);
}

} // namespace

StatusRates& StatusRates::shared()
{
    static StatusRates rates;
    return rates;
}

double StatusRates::transferRateMBs(quint64 currentBytes, quint64 previousBytes, double elapsedSeconds)
{
    if (currentBytes < previousBytes || elapsedSeconds <= 0)
        return 0;
    return double(currentBytes - previousBytes) / bytesPerMB / elapsedSeconds;
}

SystemReport::DiskIO StatusRates::diskRates(quint64 readBytes, quint64 writeBytes, double now)
{
    const std::lock_guard lock(m_diskLock);
    // One sample cannot know a rate.
    SystemReport::DiskIO rates;
    if (m_lastDisk) {
        const double elapsed = now - m_lastDisk->at;
        rates.readRate = rateBetween(readBytes, m_lastDisk->rx, elapsed);
        rates.writeRate = rateBetween(writeBytes, m_lastDisk->tx, elapsed);
    }
    m_lastDisk = Counter{readBytes, writeBytes, now};
    return rates;
}

std::vector<SystemReport::Network> StatusRates::networkRates(const std::vector<InterfaceCounters>& interfaces,
                                                             double now)
{
    const std::lock_guard lock(m_networkLock);
    const double elapsed = now - m_lastNetworkAt;
    std::vector<SystemReport::Network> rates;
    decltype(m_lastNetwork) counters;
    for (const InterfaceCounters& interface : interfaces) {
        SystemReport::Network network;
        network.name = interface.name;
        network.ip = interface.ip;
        if (const auto previous = m_lastNetwork.constFind(interface.name); previous != m_lastNetwork.cend()) {
            network.rxRateMBs = network.down = rateBetween(interface.rxBytes, previous->first, elapsed);
            network.txRateMBs = network.up = rateBetween(interface.txBytes, previous->second, elapsed);
        }
        counters.insert(interface.name, {interface.rxBytes, interface.txBytes});
        rates.push_back(std::move(network));
    }
    m_lastNetwork = std::move(counters);
    m_lastNetworkAt = now;
    return rates;
}

SystemReport::DiskIOHistory StatusRates::appendDiskHistory(const SystemReport::DiskIO& rates)
{
    const std::lock_guard lock(m_diskHistoryLock);
    return {appended(m_diskRead, rates.readRate.value_or(0)),
            appended(m_diskWrite, rates.writeRate.value_or(0))};
}

SystemReport::NetworkHistory
StatusRates::appendNetworkHistory(const std::vector<SystemReport::Network>& interfaces)
{
    const auto sum = [&](std::optional<double> SystemReport::Network::*rate) {
        return std::accumulate(
            interfaces.begin(), interfaces.end(), 0.0,
            [&](double total, const auto& network) { return total + (network.*rate).value_or(0); });
    };
    const std::lock_guard lock(m_networkHistoryLock);
    return {appended(m_rx, sum(&SystemReport::Network::rxRateMBs)),
            appended(m_tx, sum(&SystemReport::Network::txRateMBs))};
}
