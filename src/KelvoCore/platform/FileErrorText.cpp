#include "platform/FileErrorText.h"

#include "vocabulary/AppLocalization.h"

#include <QFileInfo>

#include <cerrno>

namespace {

QString text(const char* zh, const char* en)
{
    return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
}

QString quoted(const QString& path)
{
    return QStringLiteral("“%1”").arg(path);
}

// Qt reports open failures coarsely; the file's state tells the user what actually stands in the way.
QString readReason(const QString& path, QFileDevice::FileError error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return text("文件不存在", "the file does not exist");
    if (info.isDir())
        return FileErrorText::isFolder();
    if (error == QFileDevice::PermissionsError || !info.isReadable())
        return FileErrorText::reason(EACCES);
    return text("系统拒绝了这次操作", "the system refused it");
}

QString writeReason(const QString& path, QFileDevice::FileError error)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (QFileInfo(path).isDir())
        return FileErrorText::isFolder();
    if (error == QFileDevice::PermissionsError || (folder.exists() && !folder.isWritable()))
        return FileErrorText::reason(EACCES);
    return text("磁盘可能已满或只读", "the disk may be full or read-only");
}

} // namespace

namespace FileErrorText {

QString reason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return text("没有权限", "permission denied");
    case ENOENT:
        return text("它已经不存在", "it no longer exists");
    case EBUSY:
        return text("它正在被使用", "it is in use");
    case EROFS:
        return text("磁盘是只读的", "the disk is read-only");
    case EXDEV:
        return text("它与废纸篓不在同一个磁盘上", "it is on another disk than the Trash");
    case ENAMETOOLONG:
        return text("路径太长", "the path is too long");
    case ENOSPC:
        return text("磁盘已满", "the disk is full");
    case ELOOP:
        return text("它是一个链接", "it is a link");
    case EISDIR:
        return isFolder();
    default:
        return text("系统拒绝了这次操作", "the system refused it");
    }
}

QString cannotRead(const QString& path, QFileDevice::FileError error)
{
    return cannotRead(path, readReason(path, error));
}

QString cannotRead(const QString& path, const QString& why)
{
    return text("无法读取 %1：%2。", "Could not read %1: %2.").arg(quoted(path), why);
}

QString notUtf8(const QString& path, qsizetype line)
{
    return text("无法读取 %1：第 %2 行不是 UTF-8 文本。", "Could not read %1: line %2 is not UTF-8 text.")
        .arg(quoted(path))
        .arg(line);
}

QString cannotWrite(const QString& path, QFileDevice::FileError error)
{
    return text("无法保存 %1：%2。原来的文件保持不变。",
                "Could not save %1: %2. The previous file is unchanged.")
        .arg(quoted(path), writeReason(path, error));
}

QString cannotWrite(const QString& path, const QString& why)
{
    return text("无法保存 %1：%2。原来的文件保持不变。",
                "Could not save %1: %2. The previous file is unchanged.")
        .arg(quoted(path), why);
}

QString cannotCreateFolder(const QString& folder)
{
    return text("无法创建文件夹 %1。", "Could not create the folder %1.").arg(quoted(folder));
}

QString cannotCopy(const QString& source, const QString& target)
{
    return text("无法将 %1 复制到 %2。", "Could not copy %1 to %2.").arg(quoted(source), quoted(target));
}

QString cannotRemove(const QString& path)
{
    return text("无法删除 %1。", "Could not remove %1.").arg(quoted(path));
}

QString cannotRemove(const QString& path, int error)
{
    return text("无法删除 %1：%2。", "Could not remove %1: %2.").arg(quoted(path), reason(error));
}

QString cannotMoveToTrash(const QString& path, const QString& why)
{
    return text("无法将 %1 移到废纸篓：%2。", "Could not move %1 to Trash: %2.").arg(quoted(path), why);
}

QString noLongerExists(const QString& path)
{
    return text("%1 已经不存在。", "%1 no longer exists.").arg(quoted(path));
}

QString outsideScope(const QString& path)
{
    return text("%1 不在 Kelvo 可以改动的范围内。", "%1 is outside the places Kelvo may change.")
        .arg(quoted(path));
}

QString linkOnTheWay(const QString& path, const QString& link)
{
    return text("未处理 %1：%2 是一个链接，Kelvo 不会经由链接删除或移动内容。",
                "Left %1 alone: %2 is a link, and Kelvo never removes or moves anything through a link.")
        .arg(quoted(path), quoted(link));
}

QString cannotOpenOnTheWay(const QString& path, const QString& folder)
{
    return text("未处理 %1：无法打开文件夹 %2。", "Left %1 alone: the folder %2 cannot be opened.")
        .arg(quoted(path), quoted(folder));
}

QString changedSinceScan(const QString& path)
{
    return text("未处理 %1：它在预览之后发生了变化。", "Left %1 alone: it changed since the preview.")
        .arg(quoted(path));
}

QString otherFileSystem(const QString& path)
{
    return text("未处理 %1：它位于另一个文件系统上（挂载的磁盘或文件夹）。",
                "Left %1 alone: it is on another file system (a mounted disk or folder).")
        .arg(quoted(path));
}

QString nestedTooDeeply(const QString& path)
{
    return text("未处理 %1：文件夹嵌套过深。", "Left %1 alone: its folders are nested too deeply.")
        .arg(quoted(path));
}

QString isLink(const QString& path)
{
    return text("%1 是一个链接", "%1 is a link").arg(quoted(path));
}

QString notAFolder(const QString& path)
{
    return text("%1 不是文件夹", "%1 is not a folder").arg(quoted(path));
}

QString missingFolder(const QString& path)
{
    return text("%1 不存在", "%1 does not exist").arg(quoted(path));
}

QString notInside(const QString& path, const QString& root)
{
    return text("%1 不在 %2 之内", "%1 is not inside %2").arg(quoted(path), quoted(root));
}

QString cannotOpenFolder(const QString& path, int error)
{
    return text("无法打开或创建文件夹 %1（%2）", "the folder %1 cannot be opened or made (%2)")
        .arg(quoted(path), reason(error));
}

QString isFolder()
{
    return text("这是一个文件夹", "it is a folder");
}

QString notRegularFile()
{
    return text("它不是普通文件", "it is not a regular file");
}

QString largerThan(qint64 bytes)
{
    return text("它大于 %1 MB", "it is larger than %1 MB").arg(bytes / (1024 * 1024));
}

} // namespace FileErrorText
