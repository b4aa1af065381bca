#include "platform/Desktop.h"

#include "platform/ToolRunner.h"

#include <QFileInfo>

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

bool hasPrivacySettings()
{
#ifdef Q_OS_MACOS
    return true;
#else
    return false;
#endif
}

} // namespace Desktop
