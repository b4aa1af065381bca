#include "clean/CleanPreviewService.h"

namespace CleanPreviewService {

QFuture<std::optional<CleanPreviewReport>> snapshot(const QString& home, LocalCleanPreview::Options options,
                                                    BackgroundRun::CancelFlag cancelled)
{
    return BackgroundRun::start(std::move(cancelled),
                                [home, options = std::move(options)](const std::atomic_bool* flag) mutable {
                                    options.cancelled = flag;
                                    return LocalCleanPreview::snapshot(home, options);
                                });
}

} // namespace CleanPreviewService
