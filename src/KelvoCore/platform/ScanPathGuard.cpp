#include "platform/ScanPathGuard.h"

#include "platform/ConfinedPath.h"
#include "platform/FileErrorText.h"
#include "platform/HomeFolder.h"
#include "platform/RemovalPolicy.h"
#include "platform/Trash.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/PathText.h"

#include <QFile>
#include <QFileInfo>

namespace ScanPathGuard {
namespace {
const QString applicationsRoot = QStringLiteral("/Applications");

bool isUsableHome(const QString& homePath)
{
    return homePath.startsWith(QLatin1Char('/')) && homePath != QLatin1String("/");
}

QString outsideScope()
{
    return AppLocalization::localized(
        QStringLiteral("这个路径不在允许范围内，无法移到废纸篓。"),
        QStringLiteral("This path is outside the allowed scope and cannot be moved to Trash."));
}

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
    // A home of "/" would admit every path, and one that is not absolute would turn its derived
    // roots into "/Library" and the like.
    return PathText::isAtOrBelowAny(candidate, isUsableHome(PathText::standardized(home))
                                                   ? allowedTrashRoots(home)
                                                   : QStringList{applicationsRoot});
}

std::optional<QString> moveToTrash(const QString& path, const std::optional<FileIdentity>& scanned,
                                   const QString& home)
{
    return moveToTrash(QFile::encodeName(path), scanned, home);
}

std::optional<QString> moveToTrash(const QByteArray& rawPath, const std::optional<FileIdentity>& scanned,
                                   const QString& home)
{
    // Where the path lies is judged on its text; the item itself is reached by its bytes.
    const QString path = PathText::shown(rawPath);
    if (const std::optional<QString> problem = HomeFolder::problem(home))
        return problem;
    if (!isTrashAllowed(path, home))
        return outsideScope();
    if (const std::optional<QString> refusal = RemovalPolicy::refusal(path, home))
        return refusal;
    const QString homePath = PathText::standardized(home);
    const QString candidate = PathText::standardized(path);
    const QString root = PathText::isAtOrBelow(candidate, homePath) ? homePath : applicationsRoot;
    const ConfinedPath::Outcome outcome = ConfinedPath::reach(QFile::encodeName(root), rawPath);
    if (!outcome.item)
        return ConfinedPath::describe(outcome, candidate);
    const ConfinedPath::Reached& item = *outcome.item;
    if (!scanned || item.facts().identity != *scanned)
        return FileErrorText::changedSinceScan(candidate);
    // Where the item really is, read from its open parent folder: inside the home folder (as given
    // or as its real path) or /Applications, whatever links the roots themselves go through.
    const std::optional<QString> resolved = item.resolvedPath();
    const QString realHome = QFileInfo(homePath).canonicalFilePath();
    const QString realApplications = QFileInfo(applicationsRoot).canonicalFilePath();
    QStringList roots;
    for (const QString& allowed : {homePath, realHome, applicationsRoot, realApplications})
        if (isUsableHome(allowed)) // an absolute folder other than "/"; a missing one resolves to nothing
            roots << allowed;
    if (!resolved || !PathText::isAtOrBelowAny(*resolved, roots))
        return outsideScope();
    try {
        Trash::moveToTrash(item);
    } catch (const KelvoError& error) {
        return error.description();
    }
    return std::nullopt;
}

} // namespace ScanPathGuard
