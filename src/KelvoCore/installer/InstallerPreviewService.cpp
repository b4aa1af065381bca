#include "installer/InstallerPreviewService.h"

namespace InstallerPreviewService {

QFuture<std::optional<InstallerPreviewReport>> snapshot(const QString& home,
                                                        LocalInstallerPreview::Places places,
                                                        LocalInstallerPreview::Options options,
                                                        BackgroundRun::CancelFlag cancelled)
{
    return BackgroundRun::start(std::move(cancelled), [home, places = std::move(places),
                                                       options = std::move(options)](
                                                          const std::atomic_bool* flag) mutable {
        options.cancelled = flag;
        return LocalInstallerPreview::snapshot(home, places, LocalInstallerPreview::defaultMaxDepth, options);
    });
}

} // namespace InstallerPreviewService
