#include "uninstall/UninstallPreviewService.h"

namespace UninstallPreviewService {

QFuture<std::optional<UninstallPreviewReport>>
snapshot(const QString& home, LocalUninstallPreview::Options options, BackgroundRun::CancelFlag cancelled)
{
    return BackgroundRun::start(std::move(cancelled),
                                [home, options = std::move(options)](const std::atomic_bool*) {
                                    return LocalUninstallPreview::snapshot(home, options);
                                });
}

} // namespace UninstallPreviewService
