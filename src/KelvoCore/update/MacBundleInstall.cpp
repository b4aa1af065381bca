#include "update/MacBundleInstall.h"

#include "platform/ConfinedPath.h"
#include "platform/MainBundleInfo.h"
#include "platform/ToolRunner.h"
#include "update/UpdateInstallerText.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// A shell word that stands for text exactly: inside single quotes nothing is special, and a single
// quote itself is closed, escaped and reopened.
QString shellQuoted(QString text)
{
    return u'\'' + text.replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

QString applicationName()
{
    if (std::optional<QString> name = MainBundleInfo::text(QStringLiteral("CFBundleName")))
        return *name;
    return QStringLiteral("Kelvo");
}

void detach(const QString& hdiutil, const QString& mount)
{
    ToolRunner::run({hdiutil,
                     {QStringLiteral("detach"), mount, QStringLiteral("-force"), QStringLiteral("-quiet")},
                     60s});
}

} // namespace

namespace MacBundleInstall {

std::optional<QString> findApplication(const QString& mountPoint, const QString& name)
{
    const QFileInfoList children =
        QDir(mountPoint).entryInfoList(QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot, QDir::Name);
    std::optional<QString> anyApplication;
    for (const QFileInfo& child : children) {
        if (child.suffix() != u"app")
            continue;
        if (child.fileName().contains(name))
            return child.filePath();
        if (!anyApplication)
            anyApplication = child.filePath();
    }
    return anyApplication;
}

QString relaunchScript(qint64 pid, const QString& target, const QString& source, const QString& mount)
{
    const QString process = QString::number(pid);
    return QStringLiteral("#!/bin/bash\n"
                          "set -e\n"
                          "for _ in {1..20}; do\n"
                          "    if ! kill -0 %1 2>/dev/null; then\n"
                          "        break\n"
                          "    fi\n"
                          "    sleep 0.5\n"
                          "done\n"
                          "if kill -0 %1 2>/dev/null; then\n"
                          "    echo \"Kelvo did not quit in time.\" >&2\n"
                          "    exit 1\n"
                          "fi\n"
                          "sleep 0.5\n"
                          "rm -rf -- %2\n"
                          "cp -R -- %3 %2\n"
                          "hdiutil detach %4 -force -quiet 2>/dev/null || true\n"
                          "open %2")
        .arg(process, shellQuoted(target), shellQuoted(source), shellQuoted(mount));
}

QString prepare(const QString& image, const QString& target, qint64 pid, const QString& hdiutil)
{
    const QString folder = QFileInfo(image).absolutePath();
    const QString mount = folder + QStringLiteral("/mnt");
    // The mount point is made inside the private download folder without following a link, and held
    // open while the image is attached to it.
    const ConfinedPath::FolderOutcome mountPoint =
        ConfinedPath::reachFolder(folder, mount, ConfinedPath::Missing::create);
    if (!mountPoint.folder)
        throw KelvoError(KelvoError::Kind::unwritable, UpdateInstallerText::mountFailed());
    const ToolRunner::Result attached =
        ToolRunner::run({hdiutil,
                         {QStringLiteral("attach"), image, QStringLiteral("-nobrowse"),
                          QStringLiteral("-mountpoint"), mount, QStringLiteral("-quiet")},
                         120s});
    if (!attached.succeeded())
        throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::mountFailed());

    const std::optional<QString> application = findApplication(mount, applicationName());
    if (!application) {
        detach(hdiutil, mount);
        throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::applicationNotFound());
    }

    const QString script = folder + QStringLiteral("/relaunch.sh");
    QFile file(script);
    const QByteArray text = relaunchScript(pid, target, *application, mount).toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(text) != text.size() ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        throw KelvoError(KelvoError::Kind::installFailed, UpdateInstallerText::installFailed());
    return script;
}

} // namespace MacBundleInstall
