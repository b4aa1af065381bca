#include "platform/UserDirs.h"

#include "platform/TextFile.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QRegularExpression>
#include <QtGlobal>

#include <optional>

namespace UserDirs {
namespace {

// A value as the file gives it, expanded; none when it cannot stand for a folder.
std::optional<QString> folderFromValue(QString value, const QString& home)
{
    if (value.startsWith(QLatin1String("$HOME"))) {
        const QString rest = value.mid(5);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char('/')))
            return std::nullopt; // "$HOMEX" is another variable
        value = home + rest;
    }
    if (!QDir::isAbsolutePath(value))
        return std::nullopt;
    const QString clean = QDir::cleanPath(value);
    if (clean == QLatin1String("/") || clean == QDir::cleanPath(home))
        return std::nullopt;
    return clean;
}

} // namespace

Folders defaults(const QString& home)
{
    return {home + QLatin1String("/Downloads"), home + QLatin1String("/Desktop"),
            home + QLatin1String("/Documents")};
}

Folders parse(const QString& text, const QString& home)
{
    static const QRegularExpression line(QStringLiteral(R"re(^\s*XDG_([A-Z]+)_DIR\s*=\s*"([^"]*)"\s*$)re"));
    Folders folders = defaults(home);
    for (const QString& row : TextFile::lines(text)) {
        const QRegularExpressionMatch match = line.match(row);
        if (!match.hasMatch())
            continue; // comments, blank lines and anything else the format does not define
        const std::optional<QString> folder = folderFromValue(match.captured(2), home);
        if (!folder)
            continue;
        const QString key = match.captured(1);
        if (key == QLatin1String("DOWNLOAD"))
            folders.download = *folder;
        else if (key == QLatin1String("DESKTOP"))
            folders.desktop = *folder;
        else if (key == QLatin1String("DOCUMENTS"))
            folders.documents = *folder;
    }
    return folders;
}

Folders read(const QString& home, const QString& configHome)
{
    QString config = configHome;
    if (config.isEmpty()) {
        const QString fromEnvironment = qEnvironmentVariable("XDG_CONFIG_HOME");
        config = QDir::isAbsolutePath(fromEnvironment) ? fromEnvironment : home + QLatin1String("/.config");
    }
    try {
        const std::optional<QString> text = TextFile::readListFile(config + QLatin1String("/user-dirs.dirs"));
        return text ? parse(*text, home) : defaults(home);
    } catch (const KelvoError&) {
        return defaults(home);
    }
}

} // namespace UserDirs
