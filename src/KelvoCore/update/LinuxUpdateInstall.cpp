// Installing an update on Linux: the package's files replace the installation's, then the new kelvo
// starts.
#include "update/UpdateInstall.h"

#include "platform/FileRemover.h"
#include "update/InstallationReplacement.h"
#include "update/LinuxUpdatePackage.h"
#include "update/UpdateInstallerText.h"
#include "vocabulary/KelvoError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>

namespace UpdateInstall {

QString packageKey()
{
    // Packages are named after the machine as `uname -m` calls it.
    QString architecture = QSysInfo::currentCpuArchitecture();
    if (architecture == u"arm64")
        architecture = QStringLiteral("aarch64");
    return QSysInfo::kernelType() + u'-' + architecture;
}

QString fallbackFileName()
{
    return QStringLiteral("kelvo.tar.gz");
}

QString runningInstallation()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(programFolder.filePath(QStringLiteral(".."))); // PREFIX/bin
}

// Unpacks the package into its private folder and replaces the installation's files with its own.
QString install(const QString& package, const QString& installation, qint64)
{
    const QFileInfo program(installation + QStringLiteral("/bin/kelvo"));
    if (program.isSymLink() || !program.isFile())
        throw KelvoError(KelvoError::Kind::installFailed, UpdateInstallerText::notInstalledAt(installation));
    const QString unpackedFolder = QFileInfo(package).absolutePath() + QStringLiteral("/unpacked");
    // Left by an earlier attempt; removed through the remover, never by following a link.
    FileRemover::removeBelow(QFileInfo(package).absolutePath(), unpackedFolder);
    const LinuxUpdatePackage::Unpacked unpacked = LinuxUpdatePackage::unpack(package, unpackedFolder);
    if (!InstallationReplacement::canWrite(installation, unpacked.files)) {
        throw KelvoError(KelvoError::Kind::permission,
                         UpdateInstallerText::installationNotWritable(installation, package));
    }
    InstallationReplacement::replace(unpacked.root, installation, unpacked.files);
    return program.filePath();
}

bool packageReadAfterInstall()
{
    return false; // every file has been copied into the installation
}

bool start(const QString& started)
{
    return QProcess::startDetached(started, {});
}

QString startFailed(const QString& started)
{
    return UpdateInstallerText::relaunchFailed(started);
}

void quit()
{
    QCoreApplication::quit();
}

} // namespace UpdateInstall
