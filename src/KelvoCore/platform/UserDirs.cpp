#include "platform/UserDirs.h"

#include "platform/TextFile.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QRegularExpression>
#include <QtGlobal>

#include <optional>
#include <utility>

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
    // Only a file-system path from the root counts: Qt would take ":x" for one of its resources.
    if (!value.startsWith(QLatin1Char('/')))
        return std::nullopt;
    const QString clean = QDir::cleanPath(value);
    if (clean == QLatin1String("/") || clean == QDir::cleanPath(home))
        return std::nullopt;
    return clean;
}

// The keys of the other folders, in the order of Folders::others, with their usual names.
constexpr std::pair<const char*, const char*> otherFolders[] = {{"MUSIC", "Music"},
                                                                {"PICTURES", "Pictures"},
                                                                {"VIDEOS", "Videos"},
                                                                {"TEMPLATES", "Templates"},
                                                                {"PUBLICSHARE", "Public"}};

} // namespace

Folders defaults(const QString& home)
{
    Folders folders{home + QLatin1String("/Downloads"), home + QLatin1String("/Desktop"),
                    home + QLatin1String("/Documents")};
    for (const auto& [key, name] : otherFolders)
        folders.others << home + QLatin1Char('/') + QLatin1String(name);
    return folders;
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
        for (qsizetype i = 0; i < folders.others.size(); ++i)
            if (key == QLatin1String(otherFolders[i].first))
                folders.others[i] = *folder;
    }
    return folders;
}

Folders read(const QString& home, const QString& configHome)
{
    QString config = configHome;
    if (config.isEmpty()) {
        // XDG_CONFIG_HOME describes the home of this process's user; another home keeps its own.
        const QString fromEnvironment = qEnvironmentVariable("XDG_CONFIG_HOME");
        const bool ownHome = QDir::cleanPath(home) == QDir::cleanPath(qEnvironmentVariable("HOME"));
        config = ownHome && fromEnvironment.startsWith(QLatin1Char('/')) ? fromEnvironment
                                                                         : home + QLatin1String("/.config");
    }
    try {
        const std::optional<QString> text = TextFile::readListFile(config + QLatin1String("/user-dirs.dirs"));
        return text ? parse(*text, home) : defaults(home);
    } catch (const KelvoError&) {
        return defaults(home);
    }
}

} // namespace UserDirs
