#pragma once

#include "status/LinuxProcText.h"
#include "status/SystemReport.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>
#include <vector>

// The disks the user has: mounted file systems that live on a block device or across the network,
// each once, with their sizes as df reports them.
namespace LinuxStatusSampler {

// statvfs's figures for one mounted file system.
struct FileSystemSpace {
    quint64 blocks = 0, freeBlocks = 0, availableBlocks = 0; // available: free to unprivileged users
    quint64 fragmentSize = 0;                                // bytes per block
};
using SpaceProbe = std::function<std::optional<FileSystemSpace>(const QString& mountPoint)>;
// statvfs on the mount point; none when it fails.
std::optional<FileSystemSpace> fileSystemSpace(const QString& mountPoint);

// The mounts that are disks: a /dev source or a network file system, without images (squashfs,
// erofs: snaps, live media) and pseudo file systems, and each file system once, at its shortest
// mount point (bind mounts repeat it elsewhere).
std::vector<MountEntry> diskMounts(const std::vector<MountEntry>& mounts);

// The disks of those mounts that `space` can measure: internal ones first, then by mount point. "/" is
// named `rootName`, every other disk by its mount point's last component; a disk is external when its
// device is removable (per /sys) or it is mounted under /media or /run/media.
std::vector<SystemReport::Disk> disks(const std::vector<MountEntry>& mounts, const SpaceProbe& space,
                                      const QString& sys, const QString& rootName);

} // namespace LinuxStatusSampler
