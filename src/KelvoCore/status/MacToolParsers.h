#pragma once

#include "status/SystemReport.h"

#include <QMap>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>
#include <vector>

// Readings of the macOS system tools' outputs. Pure functions over the text a tool printed, so that
// recorded outputs read the same as live ones; whatever a text does not say is left unknown.
namespace MacToolParsers {

// `/bin/ps -axo pid=,ppid=,pcpu=,pmem=,comm=`: one process per line, the busiest first (an unknown
// percent counting as 0, ties in the listing's order). Lines of fewer than five fields, and lines
// whose first field is not a pid (a header), are skipped; any other number that does not read (a decimal
// comma reads) is unknown. The command is everything after the fourth field, its runs of white space made
// single spaces; the name is its last path component.
std::vector<SystemReport::ProcessInfo> parseProcessSnapshot(const QString& text);

// `pmset -g batt`: the battery line is the first starting with "-InternalBattery", else the first with
// a percent sign; none without one, unless the first line says the machine is "drawing from 'Battery
// Power'": then there is a battery, whatever the line leaves out (the percent, the status) unknown.
// Charging is true for "charging", "charged" and "finishing charge" (the adapter is feeding the
// battery or keeping it full), false for "discharging" and "AC attached" (plugged in but held, not
// charging) and on battery power, unknown for any other status. The time left is the hours and
// minutes after the status; a "charged" or "AC attached" battery's "0:00" is none.
std::optional<SystemReport::Battery> parseBatterySnapshot(const QString& text);

// `sysctl vm.swapusage`: the used and total swap in bytes, each unknown when missing.
struct SwapUsage {
    std::optional<qint64> used, total;
    bool operator==(const SwapUsage&) const = default;
};
SwapUsage parseSwapUsage(const QString& text);

// `ioreg -r -c IOBlockStorageDriver`: the read and write byte counters summed over every driver;
// none when no counter is there.
std::optional<std::pair<quint64, quint64>> parseDiskByteCounters(const QString& text);

// One line of `/sbin/mount`: "device on mount point (fstype, options...)".
struct MountEntry {
    QString device;
    std::optional<QString> fstype; // unknown when the parentheses are missing or hold options only
    bool operator==(const MountEntry&) const = default;
};
// By mount point; a later line for the same mount point (mounted over the earlier) wins.
QMap<QString, MountEntry> parseMountTable(const QString& text);

// `scutil --proxy`: an enabled automatic configuration (type "PAC", its URL as the host), else the
// first enabled of SOCKS, HTTPS and HTTP with its host, else a disabled proxy; none for an empty output
// (the tool did not answer). The automatic configuration comes first: it decides for each address,
// whatever manual proxies are set beside it.
std::optional<SystemReport::Proxy> parseProxy(const QString& text);

// `system_profiler` sections: every "key: value" line, key and value trimmed. A key seen again (a
// second graphics card, a second display) keeps its first value; empty values are left out.
QMap<QString, QString> profilerValues(const QString& text);

} // namespace MacToolParsers
