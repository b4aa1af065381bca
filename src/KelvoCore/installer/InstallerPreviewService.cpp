#include "installer/InstallerPreviewService.h"

#include <QtConcurrent>

namespace InstallerPreviewService {

QFuture<InstallerPreviewReport> snapshot(const QString& home, const QProcessEnvironment& /*environment*/,
                                         LocalInstallerPreview::Places places,
                                         LocalInstallerPreview::Options options)
{
    return QtConcurrent::run([home, places = std::move(places), options = std::move(options)] {
        return LocalInstallerPreview::snapshot(home, places, LocalInstallerPreview::defaultMaxDepth, options);
    });
}

} // namespace InstallerPreviewService
