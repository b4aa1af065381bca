#include "platform/HomeFolder.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/PathText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace HomeFolder {

QString current()
{
    // QDir::homePath() stands in "/" for an unset HOME, which would make the whole disk the home.
    return QFile::decodeName(qgetenv("HOME"));
}

std::optional<QString> problem(const QString& home)
{
    const auto text = [](const char* zh, const char* en) {
        return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
    };
    if (home.trimmed().isEmpty())
        return text("没有设置主文件夹（HOME 为空），为安全起见 Kelvo 不会删除或移动任何内容。",
                    "Your home folder is not set (HOME is empty), so Kelvo removes and moves nothing.");
    if (!QDir::isAbsolutePath(home))
        return text("主文件夹“%1”不是绝对路径，为安全起见 Kelvo 不会删除或移动任何内容。",
                    "Your home folder “%1” is not an absolute path, so Kelvo removes and moves nothing.")
            .arg(home);
    const QFileInfo folder(home);
    if (PathText::standardized(home) == QLatin1String("/") ||
        folder.canonicalFilePath() == QLatin1String("/"))
        return text("主文件夹是根目录“/”，为安全起见 Kelvo 不会删除或移动任何内容。",
                    "Your home folder is the root folder “/”, so Kelvo removes and moves nothing.");
    if (!folder.isDir())
        return text("主文件夹“%1”不存在或不是文件夹，为安全起见 Kelvo 不会删除或移动任何内容。",
                    "Your home folder “%1” does not exist or is not a folder, so Kelvo removes and moves "
                    "nothing.")
            .arg(home);
    return std::nullopt;
}

} // namespace HomeFolder
