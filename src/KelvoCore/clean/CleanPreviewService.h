#pragma once

#include "clean/LocalCleanPreview.h"
#include "vocabulary/BackgroundRun.h"

// Runs the Smart Clean preview on a background thread; none when it was cancelled.
namespace CleanPreviewService {
QFuture<std::optional<CleanPreviewReport>> snapshot(const QString& home,
                                                    LocalCleanPreview::Options options = {},
                                                    BackgroundRun::CancelFlag cancelled = {});
} // namespace CleanPreviewService
