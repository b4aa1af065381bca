// Installing an update on macOS: the disk image is mounted and a relaunch script swaps the bundles
// once Kelvo has quit.
#include "update/UpdateInstall.h"

#include "update/MacBundleInstall.h"
#include "update/UpdateInstallerText.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace std::chrono_literals;

namespace UpdateInstall {

QString packageKey()
{
    return QStringLiteral("macos");
}

QString fallbackFileName()
{
    return QStringLiteral("Kelvo.dmg");
}

QString runningInstallation()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(programFolder.filePath(QStringLiteral("../.."))); // Kelvo.app/Contents/MacOS
}

QString install(const QString& package, const QString& installation, qint64 pid)
{
    return MacBundleInstall::prepare(package, installation, pid);
}

bool packageReadAfterInstall()
{
    return true; // the image stays mounted until the relaunch script has copied the bundle
}

bool start(const QString& started)
{
    return QProcess::startDetached(QStringLiteral("/bin/bash"), {started});
}

QString startFailed(const QString&)
{
    return UpdateInstallerText::installFailed();
}

void quit()
{
    QCoreApplication::quit();
    // The relaunch script waits for this process to end; should a normal quit stall, it ends anyway.
    std::thread([] {
        std::this_thread::sleep_for(1500ms);
        std::_Exit(0);
    }).detach();
}

} // namespace UpdateInstall
