#include "uninstall/UninstallPreviewService.h"

#include "platform/HomeFolder.h"
#include "uninstall/LocalUninstallPreview.h"

#include <QtConcurrent>

namespace UninstallPreviewService {

QFuture<UninstallPreviewReport> snapshot()
{
    return QtConcurrent::run(
        [home = HomeFolder::current()] { return LocalUninstallPreview::snapshot(home); });
}

} // namespace UninstallPreviewService
