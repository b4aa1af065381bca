#pragma once

#include "platform/InterfaceCounters.h"
#include "status/SystemReport.h"

#include <QMap>
#include <QString>
#include <QtGlobal>

#include <deque>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

// Throughput needs the previous sample's counters, and the sparklines the last 60 rates: the one
// state the sampler keeps between calls. Each piece sits behind its own lock, held only for its
// read-modify-write, so overlapping snapshots give valid (if short-interval) rates.
class StatusRates {
public:
    static constexpr qsizetype historyLength = 60;

    // The process-wide tracker the live sampler uses; tests make their own.
    static StatusRates& shared();

    // Megabytes per second between two readings of a byte counter; 0 when the counter dropped or no
    // time passed.
    static double transferRateMBs(quint64 currentBytes, quint64 previousBytes, double elapsedSeconds);

    // Read and write rates against the previous disk sample (unknown on the first one or when a
    // counter dropped), which the new counters then replace. `now` is seconds since 1970.
    SystemReport::DiskIO diskRates(quint64 readBytes, quint64 writeBytes, double now);

    // One record per interface, in the order given; an interface's rates are unknown on its first
    // sample or when its counter dropped. The new counters replace all previous ones.
    std::vector<SystemReport::Network> networkRates(const std::vector<InterfaceCounters>& interfaces,
                                                    double now);

    // Appends one sample (an unknown rate counts as 0) and returns the last 60, oldest first.
    SystemReport::DiskIOHistory appendDiskHistory(const SystemReport::DiskIO& rates);
    SystemReport::NetworkHistory appendNetworkHistory(const std::vector<SystemReport::Network>& interfaces);

private:
    struct Counter {
        quint64 rx = 0, tx = 0;
        double at = 0;
    };
    std::mutex m_diskLock, m_networkLock, m_diskHistoryLock, m_networkHistoryLock;
    std::optional<Counter> m_lastDisk; // rx: read, tx: write
    QMap<QString, std::pair<std::optional<quint64>, std::optional<quint64>>> m_lastNetwork;
    double m_lastNetworkAt = 0;
    std::deque<double> m_diskRead, m_diskWrite, m_rx, m_tx;
};
