#pragma once

#include "clean/LocalCleanPreview.h"

#include <QFuture>

// Runs the Smart Clean preview on a background thread.
namespace CleanPreviewService {
QFuture<CleanPreviewReport> snapshot(const QString& home, LocalCleanPreview::Options options = {});
} // namespace CleanPreviewService
