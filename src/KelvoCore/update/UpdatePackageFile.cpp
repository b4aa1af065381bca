#include "update/UpdatePackageFile.h"

#include "update/UpdateInstall.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

namespace UpdatePackageFile {

QString fileName(const QUrl& url)
{
    // Decoded, a segment may hold "%2F": only a plain name is taken.
    const QString last = url.fileName();
    const bool plainName = !last.startsWith(u'.') && !last.contains(u'/') && !last.contains(QChar(0));
    if (plainName && (last.endsWith(u".dmg") || last.endsWith(u".tar.gz")))
        return last;
    return UpdateInstall::fallbackFileName();
}

std::optional<QString> makePrivateFolder(const QString& parent)
{
    // QTemporaryDir makes the folder with mode 0700 under a name nobody can claim first.
    QTemporaryDir folder(parent + QStringLiteral("/KelvoUpdate-XXXXXXXX"));
    if (!folder.isValid())
        return std::nullopt;
    folder.setAutoRemove(false);
    return folder.path();
}

std::optional<QString> sha256(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return std::nullopt;
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace UpdatePackageFile
