#include "purge/PurgePreviewService.h"

namespace PurgePreviewService {

QFuture<std::optional<PurgePreviewReport>>
snapshot(const QString& rootPath, LocalPurgePreview::Options options, BackgroundRun::CancelFlag cancelled)
{
    return BackgroundRun::start(
        std::move(cancelled), [rootPath, options = std::move(options)](const std::atomic_bool* flag) mutable {
            options.cancelled = flag;
            return LocalPurgePreview::snapshot(rootPath, LocalPurgePreview::defaultMaxDepth, options);
        });
}

} // namespace PurgePreviewService
