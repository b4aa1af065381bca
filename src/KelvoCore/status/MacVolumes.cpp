#include "status/MacVolumes.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/NaturalOrder.h"

#include <QSet>
#include <QStorageInfo>

#include <algorithm>

namespace MacVolumes {

namespace {

const QString startupVolume = QStringLiteral("/");
const QString dataVolume = QStringLiteral("/System/Volumes/Data");
const QString externalFolder = QStringLiteral("/Volumes/");

bool isShown(const QString& mount)
{
    return mount == startupVolume || mount == dataVolume || mount.startsWith(externalFolder);
}

std::optional<QString> nonEmpty(const QString& text)
{
    return text.isEmpty() ? std::nullopt : std::optional(text);
}

SystemReport::Disk diskAt(const QString& mount, std::optional<QString> name, const MountTable& mounts)
{
    SystemReport::Disk disk;
    disk.mount = mount;
    // The data volume usually has no name of its own: it is the Mac's internal disk.
    if (!name && mount == dataVolume)
        name = AppLocalization::localized(QStringLiteral("内置磁盘"), QStringLiteral("Internal Disk"));
    disk.name = name;
    if (const auto entry = mounts.constFind(mount); entry != mounts.constEnd()) {
        disk.device = entry->device;
        disk.fstype = entry->fstype;
    }
    disk.external = mount.startsWith(externalFolder);
    return disk;
}

void measureSize(SystemReport::Disk& disk, const QStorageInfo& volume)
{
    const qint64 total = volume.bytesTotal();
    if (total <= 0)
        return;
    disk.total = total;
    disk.used = std::max<qint64>(0, total - volume.bytesAvailable());
    disk.available = volume.bytesAvailable();
    disk.usedPercent = 100.0 * static_cast<double>(*disk.used) / static_cast<double>(total);
}

std::vector<SystemReport::Disk> tidied(std::vector<SystemReport::Disk> disks)
{
    const bool hasData =
        std::any_of(disks.begin(), disks.end(), [](const auto& d) { return d.mount == dataVolume; });
    // Every disk here has its mount point, which is its identity.
    QSet<QString> seen;
    std::erase_if(disks, [&](const SystemReport::Disk& d) {
        if (hasData && d.mount == startupVolume)
            return true;
        const bool repeated = seen.contains(*d.mount);
        seen.insert(*d.mount);
        return repeated;
    });
    std::stable_sort(
        disks.begin(), disks.end(), [](const SystemReport::Disk& a, const SystemReport::Disk& b) {
            if (a.external != b.external)
                return !a.external.value_or(false);
            return NaturalOrder::lessThan(a.name.value_or(QString()), b.name.value_or(QString()));
        });
    return disks;
}

} // namespace

std::vector<SystemReport::Disk> mounted(const MountTable& mounts)
{
    std::vector<SystemReport::Disk> disks;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || !isShown(volume.rootPath()))
            continue;
        SystemReport::Disk shown = diskAt(volume.rootPath(), nonEmpty(volume.name()), mounts);
        measureSize(shown, volume);
        disks.push_back(std::move(shown));
    }
    return tidied(std::move(disks));
}

std::vector<SystemReport::Disk> fromMountTable(const MountTable& mounts)
{
    std::vector<SystemReport::Disk> disks;
    for (auto entry = mounts.constBegin(); entry != mounts.constEnd(); ++entry) {
        const QString& mount = entry.key();
        if (!isShown(mount))
            continue;
        const std::optional<QString> name =
            mount.startsWith(externalFolder) ? nonEmpty(mount.mid(externalFolder.size())) : std::nullopt;
        disks.push_back(diskAt(mount, name, mounts));
    }
    return tidied(std::move(disks));
}

std::optional<SystemReport::Disk> homeVolume(const QString& home)
{
    const QStorageInfo volume(home);
    if (!volume.isValid() || !volume.isReady())
        return std::nullopt;
    SystemReport::Disk shown;
    shown.mount = startupVolume;
    shown.name = nonEmpty(volume.name());
    shown.device = nonEmpty(QString::fromUtf8(volume.device()));
    shown.fstype = nonEmpty(QString::fromUtf8(volume.fileSystemType()));
    shown.external = false;
    measureSize(shown, volume);
    return shown;
}

} // namespace MacVolumes
