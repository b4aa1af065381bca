#pragma once

#include "uninstall/LinuxApplications.h"
#include "uninstall/LocalUninstallPreview.h"
#include "vocabulary/BackgroundRun.h"
#include "vocabulary/TargetSystem.h"

// Runs the uninstall preview on a background thread. It reads a bounded set of folders and is not
// interrupted; a cancelled run's result is dropped.
namespace UninstallPreviewService {

// Which applications the preview looks for: macOS bundles with their Library leftovers, or the
// applications a Linux user installed without root.
struct Setup {
    TargetSystem system = TargetSystems::built();
    LocalUninstallPreview::Options bundles;
    LinuxApplications::Options linux;
};

// The system's scan, on the calling thread.
UninstallPreviewReport scan(const QString& home, const Setup& setup);

QFuture<std::optional<UninstallPreviewReport>> snapshot(const QString& home, Setup setup = {},
                                                        BackgroundRun::CancelFlag cancelled = {});
} // namespace UninstallPreviewService
