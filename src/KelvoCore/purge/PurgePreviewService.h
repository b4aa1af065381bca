#pragma once

#include "purge/LocalPurgePreview.h"
#include "vocabulary/BackgroundRun.h"

// Runs the project artefact scan on a background thread, at most six levels deep; none when it was
// cancelled.
namespace PurgePreviewService {
QFuture<std::optional<PurgePreviewReport>> snapshot(const QString& rootPath,
                                                    LocalPurgePreview::Options options = {},
                                                    BackgroundRun::CancelFlag cancelled = {});
} // namespace PurgePreviewService
