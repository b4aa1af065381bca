#include "clean/CleanPreviewService.h"

#include <QtConcurrent>

namespace CleanPreviewService {

QFuture<CleanPreviewReport> snapshot(const QString& home, LocalCleanPreview::Options options)
{
    return QtConcurrent::run(
        [home, options = std::move(options)] { return LocalCleanPreview::snapshot(home, options); });
}

} // namespace CleanPreviewService
