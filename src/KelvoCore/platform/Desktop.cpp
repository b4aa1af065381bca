#include "platform/Desktop.h"

#include "platform/ToolRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <chrono>

using namespace std::chrono_literals;

namespace Desktop {

void reveal(const QString& path)
{
#ifdef Q_OS_MACOS
    ToolRunner::run({QStringLiteral("/usr/bin/open"), {QStringLiteral("-R"), path}, 5s});
#else
    const QFileInfo item(path);
    ToolRunner::run({QStringLiteral("/usr/bin/xdg-open"),
                     {item.isDir() && !item.isSymLink() ? item.absoluteFilePath() : item.absolutePath()},
                     5s});
#endif
}

void reveal(const ConfinedPath::Reached& item)
{
    const std::optional<QByteArray> path = item.resolvedRawPath();
    if (!path)
        return;
#ifdef Q_OS_MACOS
    // Names on the Mac's own disks are UTF-8.
    reveal(QFile::decodeName(*path));
#else
    const QByteArray folder =
        item.facts().isFolder() ? *path : path->left(std::max<qsizetype>(1, path->lastIndexOf('/')));
    ToolRunner::run({QStringLiteral("/usr/bin/xdg-open"),
                     {QString::fromLatin1("file://" + QUrl::toPercentEncoding(folder, "/"))},
                     5s});
#endif
}

bool hasPrivacySettings()
{
#ifdef Q_OS_MACOS
    return true;
#else
    return false;
#endif
}

bool hasGraphicsDevice(const QString& devices)
{
#ifdef Q_OS_MACOS
    Q_UNUSED(devices);
    return true;
#else
    return !QDir(devices).entryList({QStringLiteral("renderD*")}, QDir::System | QDir::Files).isEmpty();
#endif
}

} // namespace Desktop
