#include "vocabulary/ScanPathGuard.h"

#include "platform/PathText.h"

namespace ScanPathGuard {
namespace {
const QString applicationsRoot = QStringLiteral("/Applications");
} // namespace

QStringList allowedTrashRoots(const QString& home)
{
    const QString homePath = PathText::standardized(home);
    return {homePath, applicationsRoot, PathText::joined(homePath, QStringLiteral("Applications")),
            PathText::joined(homePath, QStringLiteral("Library"))};
}

bool isTrashAllowed(const QString& path, const QString& home)
{
    // Standardising first means ".." cannot climb out of an allowed root before the prefix test.
    const QString candidate = PathText::standardized(path);
    if (!candidate.startsWith(QLatin1Char('/')))
        return false;
    // A home that is not an absolute path must not turn its derived roots into "/Library" and the like.
    const bool homeIsUsable = PathText::standardized(home).startsWith(QLatin1Char('/'));
    return PathText::isAtOrBelowAny(candidate,
                                    homeIsUsable ? allowedTrashRoots(home) : QStringList{applicationsRoot});
}

} // namespace ScanPathGuard
