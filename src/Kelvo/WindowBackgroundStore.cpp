#include "WindowBackgroundStore.h"

#include "platform/ConfinedPath.h"
#include "platform/FileErrorText.h"
#include "platform/FileRemover.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace WindowBackgroundStore {

QString storageDirectory(const QString& applicationSupport)
{
    const QString folder = applicationSupport + QStringLiteral("/WindowBackground");
    if (!QDir().mkpath(folder))
        throw KelvoError(FileErrorText::cannotCreateFolder(folder));
    return folder;
}

void removeInstalledImages(const QString& applicationSupport)
{
    QDir folder(storageDirectory(applicationSupport));
    const QFileInfoList entries =
        folder.entryInfoList({QStringLiteral("wallpaper*")},
                             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        // Through the one remover: a folder or link named like a wallpaper is removed as itself, and
        // nothing behind a link is followed.
        const ConfinedPath::Outcome reached = ConfinedPath::reach(folder.path(), entry.filePath());
        if (!reached.item) {
            if (reached.failure == ConfinedPath::Failure::missing)
                continue;
            throw KelvoError(FileErrorText::cannotRemove(entry.filePath()));
        }
        if (FileRemover::removeItem(*reached.item).failed > 0)
            throw KelvoError(FileErrorText::cannotRemove(entry.filePath()));
    }
}

QString installImage(const QString& sourcePath, const QString& applicationSupport)
{
    // Check the source before anything is removed, so a vanished or unreadable choice loses nothing.
    const QFileInfo source(sourcePath);
    if (!source.isFile() || !source.isReadable())
        throw KelvoError(FileErrorText::cannotRead(sourcePath, QFileDevice::OpenError));
    const QString folder = storageDirectory(applicationSupport);
    removeInstalledImages(applicationSupport);
    QString extension = QFileInfo(sourcePath).suffix().toLower();
    if (extension.isEmpty())
        extension = QStringLiteral("jpg");
    const QString target =
        QStringLiteral("%1/wallpaper-%2.%3")
            .arg(folder, QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(), extension);
    if (!QFile::copy(sourcePath, target))
        throw KelvoError(FileErrorText::cannotCopy(sourcePath, target));
    return target;
}

} // namespace WindowBackgroundStore
