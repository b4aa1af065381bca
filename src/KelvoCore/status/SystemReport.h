#pragma once

#include <QJsonObject>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// The machine's state at one moment, as the dashboard draws it and `kelvo status --json` prints it.
// Every field may be unknown; lists are empty when nothing is known. Sizes are bytes, rates megabytes
// (2^20 bytes) per second, percentages 0 to 100. The JSON keys are the older tool's status format.
struct SystemReport {
    struct Hardware { // display texts, already formatted
        std::optional<QString> model, cpuModel, totalRAM, diskSize, osVersion, refreshRate;
        bool operator==(const Hardware&) const = default;
    };
    struct CPU {
        std::optional<double> usage;
        std::optional<std::vector<double>> perCore; // one per logical core
        std::optional<bool> perCoreEstimated;       // true: perCore is unknown, usage is from the load
        std::optional<double> load1, load5, load15;
        std::optional<int> coreCount, logicalCPU;
        std::optional<std::vector<double>> loadAverage;
        std::optional<int> pCoreCount, eCoreCount;
        bool operator==(const CPU&) const = default;
    };
    struct GPU {
        std::optional<QString> name;
        std::optional<double> usage, memoryUsed, memoryTotal;
        std::optional<int> coreCount;
        std::optional<QString> note;
        bool operator==(const GPU&) const = default;
    };
    struct Memory {
        std::optional<qint64> total, used;
        std::optional<double> usedPercent;
        std::optional<qint64> swapUsed, swapTotal, cached;
        std::optional<QString> pressure; // "normal", "warn" or "critical"
        bool operator==(const Memory&) const = default;
    };
    struct Disk {
        std::optional<QString> name, mount, device;
        std::optional<qint64> total, used;
        std::optional<double> usedPercent;
        std::optional<QString> fstype;
        std::optional<bool> external;
        // What the user can still write (statvfs's f_bavail): the blocks reserved for root are neither
        // used nor available.
        std::optional<qint64> available = std::nullopt;
        // The mount point, else the device, else the name, else a fresh identity on every call.
        QString id() const;
        bool operator==(const Disk&) const = default;
    };
    struct DiskIO {
        std::optional<double> readRate, writeRate;
        bool operator==(const DiskIO&) const = default;
    };
    struct DiskIOHistory { // oldest first
        std::optional<std::vector<double>> readHistory, writeHistory;
        bool operator==(const DiskIOHistory&) const = default;
    };
    struct Battery {
        std::optional<double> percent;
        std::optional<bool> charging;
        std::optional<QString> status, timeLeft, health;
        std::optional<int> cycleCount, capacity; // capacity: of the design capacity, percent
        bool operator==(const Battery&) const = default;
    };
    struct Network {
        std::optional<double> down, up; // the same as rxRateMBs and txRateMBs
        std::optional<QString> name;
        std::optional<double> rxRateMBs, txRateMBs;
        std::optional<QString> ip;
        bool operator==(const Network&) const = default;
    };
    struct NetworkHistory { // oldest first, summed over every interface
        std::optional<std::vector<double>> rxHistory, txHistory;
        bool operator==(const NetworkHistory&) const = default;
    };
    struct Proxy {
        std::optional<bool> enabled;
        // type: "HTTP", "HTTPS", "SOCKS" or "PAC" (an automatic configuration, whose host is its URL)
        std::optional<QString> type, host;
        bool operator==(const Proxy&) const = default;
    };
    struct Thermal { // degrees Celsius, revolutions per minute, watts
        std::optional<double> cpuTemp, gpuTemp, batteryTemp;
        std::optional<int> fanSpeed, fanCount;
        std::optional<double> systemPower, adapterPower, batteryPower;
        bool operator==(const Thermal&) const = default;
    };
    struct ProcessInfo {
        std::optional<int> pid, ppid;
        std::optional<QString> name, command;
        std::optional<double> cpu, memory; // percent
        // With the pid, which process it is: when the kernel started it, in the kernel's own unit
        // (Linux: clock ticks after boot; macOS: microseconds since 1970), and the user it runs as
        // (real user id). A process whose start time is not known cannot be ended from the list.
        std::optional<qint64> startTime, uid;
        bool operator==(const ProcessInfo&) const = default;
    };

    std::optional<QString> host;
    std::optional<QString> platform;
    std::optional<int> healthScore;
    std::optional<QString> healthScoreMsg;
    std::optional<QString> uptime;
    std::optional<qint64> uptimeSeconds;
    std::optional<int> procs;
    std::optional<Hardware> hardware;
    std::optional<CPU> cpu;
    std::vector<GPU> gpu;
    std::optional<Memory> memory;
    std::optional<std::vector<Disk>> disks;
    std::optional<qint64> trashSize;
    std::optional<bool> trashApprox;
    std::optional<DiskIO> diskIO;
    std::optional<DiskIOHistory> diskIOHistory;
    std::optional<std::vector<Network>> network;
    std::optional<NetworkHistory> networkHistory;
    std::optional<Proxy> proxy;
    std::vector<Battery> batteries;
    std::optional<Thermal> thermal;
    std::vector<ProcessInfo> topProcesses;

    // The first battery, if any.
    std::optional<Battery> battery() const;

    bool operator==(const SystemReport&) const = default;

    // The status JSON: absent fields are left out, so that SystemReportParser::parseStatus reads the
    // text back to an equal report.
    QJsonObject toJson() const;
};
