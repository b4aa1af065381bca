#pragma once

#include "uninstall/UninstallPreviewReport.h"

#include <QFuture>

// Runs the uninstall preview on a background thread for the current user's home folder.
namespace UninstallPreviewService {
QFuture<UninstallPreviewReport> snapshot();
} // namespace UninstallPreviewService
