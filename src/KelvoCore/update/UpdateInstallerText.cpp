#include "update/UpdateInstallerText.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/SizeText.h"

namespace {

QString text(const char* zh, const char* en)
{
    return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
}

QString quoted(const QString& path)
{
    return QStringLiteral("“%1”").arg(path);
}

} // namespace

namespace UpdateInstallerText {

QString noDownloadedUpdate()
{
    return text("找不到已下载的更新。", "No downloaded update found.");
}

QString checksumMismatch()
{
    return text("下载的文件与它的校验值不符，已被删除，没有安装任何内容。",
                "The download does not match its checksum, so it was deleted and nothing was installed.");
}

QString mountFailed()
{
    return text("无法挂载磁盘映像。", "Could not mount the disk image.");
}

QString applicationNotFound()
{
    return text("磁盘映像中找不到应用。", "Could not find the application in the disk image.");
}

QString installFailed()
{
    return text("安装更新失败。", "Installation of the update failed.");
}

QString packageUnreadable(const QString& package)
{
    return text("无法读取更新包 %1。", "Could not read the update package %1.").arg(quoted(package));
}

QString unsafeEntry(const QString& entry)
{
    return text("更新包中的 %1 会写到安装位置之外，已拒绝安装。",
                "The update package was refused: %1 would land outside the installation.")
        .arg(quoted(entry));
}

QString foreignEntry(const QString& entry)
{
    return text("更新包中含有 %1，它不是 Kelvo 的文件，已拒绝安装。",
                "The update package was refused: it holds %1, which is not one of Kelvo's files.")
        .arg(quoted(entry));
}

QString specialEntry(const QString& entry)
{
    return text("更新包中的 %1 不是文件、文件夹或链接，已拒绝安装。",
                "The update package was refused: %1 is not a file, folder or link.")
        .arg(quoted(entry));
}

QString packageTooLarge(const QString& package, qint64 allowedBytes)
{
    return text("更新包 %1 解压后会超过允许的 %2，已拒绝安装。",
                "The update package %1 was refused: unpacked, it would take more than the %2 allowed for it.")
        .arg(quoted(package), SizeText::bytes(allowedBytes));
}

QString noProgram(const QString& package, const QString& program)
{
    return text("更新包 %1 中没有可执行的 %2。", "The update package %1 holds no executable %2.")
        .arg(quoted(package), program);
}

QString notInstalledAt(const QString& installation)
{
    return text("%1 中没有 bin/kelvo，无法在那里替换 Kelvo。",
                "Kelvo cannot be replaced at %1: there is no bin/kelvo there.")
        .arg(quoted(installation));
}

QString installationNotWritable(const QString& installation, const QString& package)
{
    return text("Kelvo 无法写入 %1。新版本已下载到 %2，请从那里安装。",
                "Kelvo cannot write to %1. The new version was downloaded to %2; install it from there.")
        .arg(quoted(installation), quoted(package));
}

QString cannotReplace(const QString& file)
{
    return text("无法替换 %1。", "Could not replace %1.").arg(quoted(file));
}

QString replacementFailed(const QString& why)
{
    return text("安装更新失败：%1 原来的版本保持不变。", "Installation of the update failed: %1 The previous "
                                                         "version was kept.")
        .arg(why);
}

QString relaunchFailed(const QString& program)
{
    return text("更新已安装，但无法启动新版本 %1。",
                "The update was installed, but the new version %1 could not "
                "be started.")
        .arg(quoted(program));
}

} // namespace UpdateInstallerText
