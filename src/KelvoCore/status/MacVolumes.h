#pragma once

#include "status/MacToolParsers.h"
#include "status/SystemReport.h"

#include <QMap>
#include <QString>

#include <optional>
#include <vector>

// The volumes a Mac's status shows: the startup volume "/" (left out when its data volume
// "/System/Volumes/Data" is listed, which holds the user's files), the data volume, and every volume
// under "/Volumes/" (external: disks, disk images, shares). Internal ones first, then by name; a
// mount point listed twice counts once. Devices and file system types come from the mount table.
namespace MacVolumes {

using MountTable = QMap<QString, MacToolParsers::MountEntry>;

// The mounted volumes as the system lists them now, with their sizes; hidden ones (not ready, not
// valid) left out.
std::vector<SystemReport::Disk> mounted(const MountTable& mounts);

// The same volumes from the mount table alone, sizes unknown: what a recorded `mount` output tells.
// A volume under "/Volumes/" is named after its folder there, which macOS names after the volume.
std::vector<SystemReport::Disk> fromMountTable(const MountTable& mounts);

// The volume holding the home folder, shown as "/": the stand-in when no volume can be listed.
std::optional<SystemReport::Disk> homeVolume(const QString& home);

} // namespace MacVolumes
