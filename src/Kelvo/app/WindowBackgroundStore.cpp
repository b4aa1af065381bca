#include "app/WindowBackgroundStore.h"

#include "platform/ConfinedPath.h"
#include "platform/FileErrorText.h"
#include "platform/FileRemover.h"
#include "platform/HomeFolder.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/PathText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace WindowBackgroundStore {

namespace {

QString storagePath(const QString& applicationSupport)
{
    return PathText::joined(PathText::standardized(applicationSupport), QStringLiteral("WindowBackground"));
}

ConfinedPath::FolderOutcome reachStorage(const QString& applicationSupport, const QString& home,
                                         ConfinedPath::Missing missing)
{
    const QString support = PathText::standardized(applicationSupport);
    const QString homeText = PathText::standardized(home);
    const bool inHome =
        !HomeFolder::problem(home) && support != homeText && PathText::isAtOrBelow(support, homeText);
    // A support folder outside the home is the starting point the application gave, trusted as the
    // home folder is.
    if (!inHome && missing == ConfinedPath::Missing::create)
        QDir().mkpath(support);
    return ConfinedPath::reachFolder(inHome ? homeText : support, storagePath(support), missing);
}

// Removes the wallpaper entries of the folder but kept, through the one remover: a folder or link
// named like a wallpaper is removed as itself, and nothing behind a link is followed. False when one
// stayed.
bool removeWallpapers(const ConfinedPath::Folder& folder, const QByteArray& kept = {})
{
    bool removedAll = true;
    for (const QByteArray& name : folder.names()) {
        if (!name.startsWith("wallpaper") || name == kept)
            continue;
        const std::optional<ConfinedPath::Reached> item = folder.child(name);
        if (item && FileRemover::removeItem(*item).failed > 0)
            removedAll = false;
    }
    return removedAll;
}

} // namespace

void removeInstalledImages(const QString& applicationSupport, const QString& home)
{
    const ConfinedPath::FolderOutcome reached =
        reachStorage(applicationSupport, home, ConfinedPath::Missing::stop);
    if (!reached.folder && reached.failure == ConfinedPath::Failure::missing)
        return;
    if (!reached.folder)
        throw KelvoError(KelvoError::Kind::unwritable,
                         FileErrorText::cannotWrite(storagePath(applicationSupport),
                                                    ConfinedPath::describe(reached, home)));
    if (!removeWallpapers(*reached.folder))
        throw KelvoError(KelvoError::Kind::unwritable, FileErrorText::cannotRemove(reached.folder->path()));
}

QString installImage(const QString& sourcePath, const QString& applicationSupport, const QString& home)
{
    // Opened before anything changes, so a vanished or unreadable choice loses nothing.
    QFile source(sourcePath);
    if (!QFileInfo(sourcePath).isFile() || !source.open(QIODevice::ReadOnly))
        throw KelvoError(KelvoError::Kind::unreadable,
                         FileErrorText::cannotRead(sourcePath, QFileDevice::OpenError));
    const ConfinedPath::FolderOutcome reached =
        reachStorage(applicationSupport, home, ConfinedPath::Missing::create);
    if (!reached.folder)
        throw KelvoError(KelvoError::Kind::unwritable,
                         FileErrorText::cannotWrite(storagePath(applicationSupport),
                                                    ConfinedPath::describe(reached, home)));
    QString extension = QFileInfo(sourcePath).suffix().toLower();
    if (extension.isEmpty())
        extension = QStringLiteral("jpg");
    const QString name = QStringLiteral("wallpaper-%1.%2")
                             .arg(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(), extension);
    const QString target = PathText::joined(reached.folder->path(), name);
    if (const int error = reached.folder->writeFile(QFile::encodeName(name), source))
        throw KelvoError(KelvoError::Kind::unwritable,
                         FileErrorText::cannotWrite(target, FileErrorText::reason(error)));
    // An earlier copy that stays is removed by the next install or clear.
    removeWallpapers(*reached.folder, QFile::encodeName(name));
    return target;
}

} // namespace WindowBackgroundStore
