#include "status/LinuxSysReaders.h"

#include "vocabulary/TextNumber.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace LinuxStatusSampler {

namespace {

constexpr qint64 kernelFileMaxBytes = 4 * 1024 * 1024;

QStringList folders(const QString& path, const QStringList& nameFilters = {})
{
    return QDir(path).entryList(nameFilters, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

std::optional<QString> trimmedFile(const QString& path)
{
    const std::optional<QString> text = readKernelFile(path);
    return text ? std::optional<QString>(text->trimmed()) : std::nullopt;
}

std::optional<double> numberFile(const QString& path)
{
    const std::optional<QString> text = trimmedFile(path);
    return text ? TextNumber::finite(*text) : std::nullopt;
}

// A power supply's uevent file holds every property as POWER_SUPPLY_NAME=value: one read per supply.
class SupplyProperties {
public:
    explicit SupplyProperties(const QString& folder)
    {
        for (const QString& line : readKernelFile(folder + QStringLiteral("/uevent"))
                                       .value_or(QString())
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            if (line.startsWith(QLatin1String("POWER_SUPPLY_")) && equals > 0)
                m_values.insert(line.mid(13, equals - 13), line.mid(equals + 1).trimmed());
        }
    }
    QString text(const QString& key) const { return m_values.value(key); }
    std::optional<double> number(const QString& key) const { return TextNumber::finite(m_values.value(key)); }
    // A reported, non-zero figure as a magnitude: some drivers report a discharge as a negative current.
    std::optional<double> positive(const char* key) const
    {
        const std::optional<double> value = number(QLatin1String(key));
        return value && *value != 0 ? std::optional<double>(std::abs(*value)) : std::nullopt;
    }
    // Watts, from the power or from the current and the voltage (micro units).
    std::optional<double> watts() const
    {
        if (const auto power = positive("POWER_NOW"))
            return *power / 1e6;
        const auto current = positive("CURRENT_NOW"), voltage = positive("VOLTAGE_NOW");
        return current && voltage ? std::optional<double>(*current * *voltage / 1e12) : std::nullopt;
    }

private:
    QMap<QString, QString> m_values;
};

// "H:MM" until empty (discharging) or full (charging), at the present rate. A rate so small that the
// time runs past ten days is no estimate.
std::optional<QString> timeLeft(const QString& status, double now, double full, double rate)
{
    double hours = -1;
    if (status == QLatin1String("Discharging"))
        hours = now / rate;
    else if (status == QLatin1String("Charging"))
        hours = std::max(full - now, 0.0) / rate;
    const std::optional<qint64> rounded = TextNumber::whole(std::round(hours * 60), 0, 10 * 24 * 60);
    if (!rounded)
        return std::nullopt;
    const qint64 minutes = *rounded;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

SystemReport::Battery battery(const SupplyProperties& supply)
{
    // Whole percents and counts of an int's size; anything else is unknown.
    const auto count = [](double value, qint64 least) {
        const auto number = TextNumber::whole(value, least, std::numeric_limits<int>::max());
        return number ? std::optional<int>(int(*number)) : std::nullopt;
    };
    SystemReport::Battery battery;
    battery.percent = supply.number(QStringLiteral("CAPACITY"));
    const QString status = supply.text(QStringLiteral("STATUS"));
    if (!status.isEmpty() && status != QLatin1String("Unknown")) {
        battery.status = status;
        // A full battery on its adapter counts as charging: it runs on the adapter, not on itself.
        battery.charging = status == QLatin1String("Charging") || status == QLatin1String("Full");
    }
    // Energy (µWh, µW) where the driver reports it, else charge (µAh, µA).
    const bool energy = supply.number(QStringLiteral("ENERGY_NOW")).has_value();
    const auto now = supply.number(QLatin1String(energy ? "ENERGY_NOW" : "CHARGE_NOW"));
    const auto full = supply.number(QLatin1String(energy ? "ENERGY_FULL" : "CHARGE_FULL"));
    const auto design = supply.number(QLatin1String(energy ? "ENERGY_FULL_DESIGN" : "CHARGE_FULL_DESIGN"));
    const auto rate = supply.positive(energy ? "POWER_NOW" : "CURRENT_NOW");
    if (now && rate)
        battery.timeLeft = timeLeft(status, *now, full.value_or(*now), *rate);
    if (full && design && *design > 0)
        battery.capacity = count(std::round(*full / *design * 100), 0);
    if (const auto cycles = supply.number(QStringLiteral("CYCLE_COUNT")))
        battery.cycleCount = count(*cycles, 1);
    // Only what the kernel states: no health is inferred from the capacity.
    if (const QString health = supply.text(QStringLiteral("HEALTH"));
        !health.isEmpty() && health != QLatin1String("Unknown"))
        battery.health = health;
    return battery;
}

// 0 for the package sensor, then the CPU drivers, then zones named for the CPU, the SoC, the ACPI.
std::optional<int> zoneRank(const QString& type)
{
    const QString lower = type.toLower();
    if (lower.contains(QLatin1String("x86_pkg_temp")))
        return 0;
    int rank = 2;
    for (const char* part : {"cpu", "soc", "acpitz"}) {
        if (lower.contains(QLatin1String(part)))
            return rank;
        ++rank;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> readKernelFile(const QString& path)
{
    const std::optional<QByteArray> bytes = readKernelBytes(path);
    return bytes ? std::optional<QString>(QString::fromUtf8(*bytes)) : std::nullopt;
}

std::optional<QByteArray> readKernelBytes(const QString& path)
{
    // Kernel files report a size of 0: read until the end, up to a bound.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes;
    while (bytes.size() < kernelFileMaxBytes) {
        const QByteArray chunk = file.read(64 * 1024);
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

PowerSupplies powerSupplies(const QString& sys)
{
    PowerSupplies supplies;
    const QString root = sys + QStringLiteral("/class/power_supply/");
    for (const QString& name : folders(root)) {
        const SupplyProperties supply(root + name);
        const QString type = supply.text(QStringLiteral("TYPE"));
        const auto watts = supply.watts();
        if (type == QLatin1String("Mains") && supply.number(QStringLiteral("ONLINE")) == 1.0 && watts)
            supplies.adapterPower = supplies.adapterPower.value_or(0) + *watts;
        // A "Device" scope is a mouse's or a headset's battery, not the computer's.
        if (type != QLatin1String("Battery") ||
            supply.text(QStringLiteral("SCOPE")) == QLatin1String("Device"))
            continue;
        supplies.batteries.push_back(battery(supply));
        if (watts)
            supplies.batteryPower = supplies.batteryPower.value_or(0) + *watts;
        if (const auto tenths = supply.number(QStringLiteral("TEMP")); tenths && !supplies.batteryTemp)
            supplies.batteryTemp = *tenths / 10;
    }
    return supplies;
}

std::optional<double> cpuTemperature(const QString& sys)
{
    int bestRank = std::numeric_limits<int>::max();
    std::optional<double> best;
    const auto consider = [&](std::optional<int> rank, std::optional<double> millidegrees) {
        // A sensor reading 0 or a boiling CPU is a sensor that does not work.
        if (rank && *rank < bestRank && millidegrees && *millidegrees > 0 && *millidegrees < 150000) {
            bestRank = *rank;
            best = *millidegrees / 1000;
        }
    };
    const QString zones = sys + QStringLiteral("/class/thermal/");
    for (const QString& zone : folders(zones, {QStringLiteral("thermal_zone*")}))
        consider(zoneRank(trimmedFile(zones + zone + QStringLiteral("/type")).value_or(QString())),
                 numberFile(zones + zone + QStringLiteral("/temp")));
    const QString monitors = sys + QStringLiteral("/class/hwmon/");
    for (const QString& monitor : folders(monitors, {QStringLiteral("hwmon*")})) {
        const QString name = trimmedFile(monitors + monitor + QStringLiteral("/name")).value_or(QString());
        const bool cpuDriver = QStringList{"coretemp", "k10temp", "zenpower"}.contains(name);
        consider(cpuDriver ? std::optional<int>(1) : std::nullopt,
                 numberFile(monitors + monitor + QStringLiteral("/temp1_input")));
    }
    return best;
}

bool isActiveInterface(const QString& sys, const QString& name)
{
    const QString folder = sys + QStringLiteral("/class/net/") + name + QLatin1Char('/');
    bool hex = false;
    const uint flags = trimmedFile(folder + QStringLiteral("flags")).value_or(QString()).toUInt(&hex, 16);
    if (hex ? (flags & IFF_LOOPBACK) != 0 : name == QLatin1String("lo"))
        return false;
    const QString state = trimmedFile(folder + QStringLiteral("operstate")).value_or(QString());
    return state == QLatin1String("up") ||
           (state == QLatin1String("unknown") &&
            trimmedFile(folder + QStringLiteral("carrier")) == QLatin1String("1"));
}

QMap<QString, QString> interfaceAddresses()
{
    QMap<QString, std::pair<int, QString>> best; // name -> (rank, address)
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return {};
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || !entry->ifa_name)
            continue;
        char text[INET6_ADDRSTRLEN] = {};
        int rank = 0;
        if (entry->ifa_addr->sa_family == AF_INET) {
            inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr, text,
                      sizeof text);
        } else if (entry->ifa_addr->sa_family == AF_INET6) {
            const in6_addr& address = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr)->sin6_addr;
            inet_ntop(AF_INET6, &address, text, sizeof text);
            rank = IN6_IS_ADDR_LINKLOCAL(&address) ? 2 : 1;
        } else {
            continue;
        }
        const QString name = QString::fromLocal8Bit(entry->ifa_name);
        if (!best.contains(name) || rank < best.value(name).first)
            best.insert(name, {rank, QString::fromLatin1(text)});
    }
    freeifaddrs(list);
    QMap<QString, QString> addresses;
    for (auto it = best.cbegin(); it != best.cend(); ++it)
        addresses.insert(it.key(), it.value().second);
    return addresses;
}

QStringList physicalBlockDevices(const QString& sys)
{
    static const QRegularExpression layered(QStringLiteral("^(loop|ram|zram|dm-|md)"));
    QStringList devices;
    for (const QString& name :
         QDir(sys + QStringLiteral("/block")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (!layered.match(name).hasMatch())
            devices.append(name);
    return devices;
}

bool isRemovableDevice(const QString& sys, const QString& device)
{
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    const QString name = device.mid(5).replace(QLatin1Char('/'), QLatin1Char('!'));
    const QString block = sys + QStringLiteral("/block/");
    QString disk = name;
    if (!QFileInfo::exists(block + name)) { // a partition: the disk holding it has its folder
        const QStringList holders = QDir(block).entryList({}, QDir::AllEntries | QDir::NoDotAndDotDot);
        const auto holder = std::find_if(holders.cbegin(), holders.cend(), [&](const QString& candidate) {
            return QFileInfo::exists(block + candidate + QLatin1Char('/') + name);
        });
        if (holder == holders.cend())
            return false;
        disk = *holder;
    }
    return trimmedFile(block + disk + QStringLiteral("/removable")) == QLatin1String("1");
}

std::optional<QString> dmiValue(const QString& sys, const QString& name)
{
    static const QStringList placeholders{"To Be Filled By O.E.M.",
                                          "System Product Name",
                                          "System Version",
                                          "Default string",
                                          "Not Applicable",
                                          "Not Specified",
                                          "None",
                                          "O.E.M.",
                                          "Type1ProductConfigId",
                                          "x.x",
                                          "0123456789"};
    const QString value = trimmedFile(sys + QStringLiteral("/class/dmi/id/") + name).value_or(QString());
    if (value.isEmpty() || placeholders.contains(value, Qt::CaseInsensitive))
        return std::nullopt;
    return value;
}

} // namespace LinuxStatusSampler
