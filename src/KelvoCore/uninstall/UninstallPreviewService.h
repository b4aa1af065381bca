#pragma once

#include "uninstall/LocalUninstallPreview.h"
#include "vocabulary/BackgroundRun.h"

// Runs the uninstall preview on a background thread. It reads a bounded set of folders and is not
// interrupted; a cancelled run's result is dropped.
namespace UninstallPreviewService {
QFuture<std::optional<UninstallPreviewReport>> snapshot(const QString& home,
                                                        LocalUninstallPreview::Options options = {},
                                                        BackgroundRun::CancelFlag cancelled = {});
} // namespace UninstallPreviewService
