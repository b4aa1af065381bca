#include "platform/FileErrorText.h"

#include "vocabulary/AppLocalization.h"

#include <QFileInfo>

namespace {

QString quoted(const QString& path)
{
    return QStringLiteral("“%1”").arg(path);
}

// Qt reports open failures coarsely; the file's state tells the user what actually stands in the way.
QString reason(const QString& path, QFileDevice::FileError error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return AppLocalization::localized(QStringLiteral("文件不存在"),
                                          QStringLiteral("the file does not exist"));
    if (info.isDir())
        return AppLocalization::localized(QStringLiteral("这是一个文件夹"), QStringLiteral("it is a folder"));
    if (error == QFileDevice::PermissionsError || !info.isReadable())
        return AppLocalization::localized(QStringLiteral("没有权限"), QStringLiteral("permission denied"));
    return AppLocalization::localized(QStringLiteral("系统拒绝了这次操作"),
                                      QStringLiteral("the system refused it"));
}

QString writeReason(const QString& path, QFileDevice::FileError error)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (QFileInfo(path).isDir())
        return AppLocalization::localized(QStringLiteral("这是一个文件夹"), QStringLiteral("it is a folder"));
    if (error == QFileDevice::PermissionsError || (folder.exists() && !folder.isWritable()))
        return AppLocalization::localized(QStringLiteral("没有权限"), QStringLiteral("permission denied"));
    return AppLocalization::localized(QStringLiteral("磁盘可能已满或只读"),
                                      QStringLiteral("the disk may be full or read-only"));
}

} // namespace

namespace FileErrorText {

QString cannotRead(const QString& path, QFileDevice::FileError error)
{
    return AppLocalization::localized(QStringLiteral("无法读取 %1：%2。"),
                                      QStringLiteral("Could not read %1: %2."))
        .arg(quoted(path), reason(path, error));
}

QString notUtf8(const QString& path)
{
    return AppLocalization::localized(QStringLiteral("无法读取 %1：它不是 UTF-8 文本。"),
                                      QStringLiteral("Could not read %1: it is not UTF-8 text."))
        .arg(quoted(path));
}

QString cannotWrite(const QString& path, QFileDevice::FileError error)
{
    return AppLocalization::localized(
               QStringLiteral("无法保存 %1：%2。原来的文件保持不变。"),
               QStringLiteral("Could not save %1: %2. The previous file is unchanged."))
        .arg(quoted(path), writeReason(path, error));
}

QString cannotCreateFolder(const QString& folder)
{
    return AppLocalization::localized(QStringLiteral("无法创建文件夹 %1。"),
                                      QStringLiteral("Could not create the folder %1."))
        .arg(quoted(folder));
}

QString cannotMoveToTrash(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return AppLocalization::localized(QStringLiteral("无法将 %1 移到废纸篓：它已经不存在。"),
                                          QStringLiteral("Could not move %1 to Trash: it no longer exists."))
            .arg(quoted(path));
    return AppLocalization::localized(
               QStringLiteral("无法将 %1 移到废纸篓：没有权限或废纸篓不可用。"),
               QStringLiteral("Could not move %1 to Trash: permission denied or no Trash "
                              "is available."))
        .arg(quoted(path));
}

QString cannotCopy(const QString& source, const QString& target)
{
    return AppLocalization::localized(QStringLiteral("无法将 %1 复制到 %2。"),
                                      QStringLiteral("Could not copy %1 to %2."))
        .arg(quoted(source), quoted(target));
}

QString cannotRemove(const QString& path)
{
    return AppLocalization::localized(QStringLiteral("无法删除 %1。"), QStringLiteral("Could not remove %1."))
        .arg(quoted(path));
}

} // namespace FileErrorText
