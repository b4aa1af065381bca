#pragma once

#include "installer/LocalInstallerPreview.h"
#include "vocabulary/BackgroundRun.h"

// Runs the installer scan on a background thread, two levels below each location; none when it was
// cancelled.
namespace InstallerPreviewService {
QFuture<std::optional<InstallerPreviewReport>> snapshot(const QString& home,
                                                        LocalInstallerPreview::Places places,
                                                        LocalInstallerPreview::Options options = {},
                                                        BackgroundRun::CancelFlag cancelled = {});
} // namespace InstallerPreviewService
