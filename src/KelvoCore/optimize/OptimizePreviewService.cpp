#include "optimize/OptimizePreviewService.h"

namespace OptimizePreviewService {

QFuture<std::optional<OptimizePreviewReport>>
snapshot(const QString& home, LocalOptimizePreview::Options options, BackgroundRun::CancelFlag cancelled)
{
    return BackgroundRun::start(std::move(cancelled),
                                [home, options = std::move(options)](const std::atomic_bool* flag) mutable {
                                    options.cancelled = flag;
                                    return LocalOptimizePreview::snapshot(home, options);
                                });
}

} // namespace OptimizePreviewService
