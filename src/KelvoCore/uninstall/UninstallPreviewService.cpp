#include "uninstall/UninstallPreviewService.h"

namespace UninstallPreviewService {

UninstallPreviewReport scan(const QString& home, const Setup& setup)
{
    return setup.system == TargetSystem::macOS ? LocalUninstallPreview::snapshot(home, setup.bundles)
                                               : LinuxApplications::snapshot(home, setup.linux);
}

QFuture<std::optional<UninstallPreviewReport>> snapshot(const QString& home, Setup setup,
                                                        BackgroundRun::CancelFlag cancelled)
{
    return BackgroundRun::start(
        std::move(cancelled),
        [home, setup = std::move(setup)](const std::atomic_bool*) { return scan(home, setup); });
}

} // namespace UninstallPreviewService
