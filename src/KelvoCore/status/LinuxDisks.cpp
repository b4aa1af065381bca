#include "status/LinuxDisks.h"

#include "status/LinuxSysReaders.h"

#include <QFile>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <sys/statvfs.h>

namespace LinuxStatusSampler {

std::optional<FileSystemSpace> fileSystemSpace(const QString& mountPoint)
{
    struct statvfs facts {};
    if (statvfs(QFile::encodeName(mountPoint).constData(), &facts) != 0)
        return std::nullopt;
    return FileSystemSpace{facts.f_blocks, facts.f_bfree, facts.f_bavail, facts.f_frsize};
}

std::vector<MountEntry> diskMounts(const std::vector<MountEntry>& mounts)
{
    static const QSet<QString> network{"nfs",   "nfs4", "cifs", "smb3",      "smbfs",
                                       "ncpfs", "afs",  "ceph", "glusterfs", "fuse.sshfs"};
    static const QSet<QString> images{"squashfs", "erofs"};
    std::vector<MountEntry> kept;
    QMap<QString, std::size_t> seen; // file system -> its index in kept
    for (const MountEntry& mount : mounts) {
        const bool onDevice = mount.source.startsWith(QLatin1String("/dev/")) &&
                              !images.contains(mount.fstype) &&
                              !mount.mountPoint.startsWith(QLatin1String("/snap/"));
        if (!onDevice && !network.contains(mount.fstype))
            continue;
        const QString fileSystem = mount.deviceNumber.isEmpty() ? mount.source : mount.deviceNumber;
        if (!seen.contains(fileSystem)) {
            seen.insert(fileSystem, kept.size());
            kept.push_back(mount);
        } else if (MountEntry& first = kept[seen.value(fileSystem)];
                   mount.mountPoint.size() < first.mountPoint.size()) {
            first = mount;
        }
    }
    return kept;
}

std::vector<SystemReport::Disk> disks(const std::vector<MountEntry>& mounts, const SpaceProbe& space,
                                      const QString& sys, const QString& rootName)
{
    std::vector<SystemReport::Disk> disks;
    for (const MountEntry& mount : diskMounts(mounts)) {
        const std::optional<FileSystemSpace> facts = space ? space(mount.mountPoint) : std::nullopt;
        if (!facts || facts->blocks == 0)
            continue;
        // As df counts: used is what is not free, and the use is of what an unprivileged user can
        // have, so the blocks reserved for root count neither way.
        const quint64 used =
            (facts->blocks - std::min(facts->freeBlocks, facts->blocks)) * facts->fragmentSize;
        const quint64 available = facts->availableBlocks * facts->fragmentSize;
        SystemReport::Disk disk;
        disk.name = mount.mountPoint == QLatin1String("/") ? rootName
                                                           : mount.mountPoint.section(QLatin1Char('/'), -1);
        disk.mount = mount.mountPoint;
        disk.device = mount.source;
        disk.fstype = mount.fstype;
        disk.total = qint64(facts->blocks * facts->fragmentSize);
        disk.used = qint64(used);
        disk.available = qint64(available);
        disk.usedPercent = used + available > 0 ? double(used) / double(used + available) * 100 : 0.0;
        disk.external = isRemovableDevice(sys, mount.source) ||
                        mount.mountPoint.startsWith(QLatin1String("/media/")) ||
                        mount.mountPoint.startsWith(QLatin1String("/run/media/"));
        disks.push_back(disk);
    }
    std::stable_sort(disks.begin(), disks.end(),
                     [](const SystemReport::Disk& a, const SystemReport::Disk& b) {
                         return std::pair(*a.external, *a.mount) < std::pair(*b.external, *b.mount);
                     });
    return disks;
}

} // namespace LinuxStatusSampler
