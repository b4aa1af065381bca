#include "purge/PurgePreviewService.h"

#include <QtConcurrent>

namespace PurgePreviewService {

QFuture<PurgePreviewReport> snapshot(const QString& rootPath, LocalPurgePreview::Options options)
{
    return QtConcurrent::run([rootPath, options = std::move(options)] {
        return LocalPurgePreview::snapshot(rootPath, LocalPurgePreview::defaultMaxDepth, options);
    });
}

} // namespace PurgePreviewService
