#pragma once

#include "optimize/LocalOptimizePreview.h"
#include "vocabulary/BackgroundRun.h"

// Runs the optimisation preview on a background thread; none when it was cancelled.
namespace OptimizePreviewService {
QFuture<std::optional<OptimizePreviewReport>> snapshot(const QString& home,
                                                       LocalOptimizePreview::Options options = {},
                                                       BackgroundRun::CancelFlag cancelled = {});
} // namespace OptimizePreviewService
