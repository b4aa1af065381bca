#pragma once

#include "purge/LocalPurgePreview.h"

#include <QFuture>

// Runs the project artefact scan on a background thread, at most six levels deep.
namespace PurgePreviewService {
QFuture<PurgePreviewReport> snapshot(const QString& rootPath, LocalPurgePreview::Options options = {});
} // namespace PurgePreviewService
