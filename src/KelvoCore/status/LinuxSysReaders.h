#pragma once

#include "status/SystemReport.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What the kernel's device folders under /sys say. Each function takes the folder standing for /sys,
// so tests point it at a synthetic tree; a missing or unreadable file leaves its figure unknown.
namespace LinuxStatusSampler {

// The text (UTF-8) or the bytes of a small kernel file (/proc, /sys), none when it cannot be read.
std::optional<QString> readKernelFile(const QString& path);
std::optional<QByteArray> readKernelBytes(const QString& path);

// The batteries and the adapter of /sys/class/power_supply.
struct PowerSupplies {
    std::vector<SystemReport::Battery> batteries;
    std::optional<double> batteryTemp;  // degrees Celsius, of the first battery that tells
    std::optional<double> batteryPower; // watts, the batteries together
    std::optional<double> adapterPower; // watts, when an online adapter reports its power
};
PowerSupplies powerSupplies(const QString& sys);

// The CPU's temperature in degrees Celsius from the thermal zones and hwmon sensors, the package
// sensor first.
std::optional<double> cpuTemperature(const QString& sys);

// Up (operstate "up", or "unknown" with a carrier, as for tunnels) and not a loopback.
bool isActiveInterface(const QString& sys, const QString& name);
// Each interface's address, IPv4 before IPv6 and link-local IPv6 last (getifaddrs).
QMap<QString, QString> interfaceAddresses();

// The disks of /sys/block whose I/O is their own: loop, RAM, zram, device-mapper and software RAID
// devices are left out, since their traffic is counted again on the disks below them.
QStringList physicalBlockDevices(const QString& sys);
// Whether the disk holding a device ("/dev/sdb1": the disk sdb) is marked removable.
bool isRemovableDevice(const QString& sys, const QString& device);

// A /sys/class/dmi/id value ("product_name"...), none when missing or a placeholder the maker left.
std::optional<QString> dmiValue(const QString& sys, const QString& name);

} // namespace LinuxStatusSampler
