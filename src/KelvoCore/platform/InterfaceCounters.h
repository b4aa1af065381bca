#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// One network interface's byte counters as the system reports them; a counter may be unknown. The
// kernel readers fill it and the status rates turn two of them into throughput.
struct InterfaceCounters {
    QString name;
    std::optional<quint64> rxBytes, txBytes;
    std::optional<QString> ip;
};
