#pragma once

#include <QString>
#include <QStringList>

// The user's own folders as the XDG user-dirs file names them ("$XDG_CONFIG_HOME/user-dirs.dirs"; a
// Chinese desktop calls the download, desktop and documents folders 下载, 桌面 and 文档).
namespace UserDirs {

struct Folders {
    QString download;
    QString desktop;
    QString documents;
    QStringList others = {}; // music, pictures, videos, templates and the public folder
    // Every one of them: the folders that hold the user's own files.
    QStringList all() const { return QStringList{download, desktop, documents} + others; }
    bool operator==(const Folders&) const = default;
};

// ~/Downloads, ~/Desktop, ~/Documents, then ~/Music, ~/Pictures, ~/Videos, ~/Templates and ~/Public.
Folders defaults(const QString& home);

// The folders the file's text names, each falling back to its default when the text does not name
// it usably: a missing key, a value of "$HOME" alone (the user turned the folder off), a path that
// does not start at the root (a relative or ":" path) or the root folder. Only "$HOME" at the start of a
// value is expanded, as the file's format says.
Folders parse(const QString& text, const QString& home);

// The folders of the given home folder's user-dirs file (configHome empty: XDG_CONFIG_HOME when it starts
// with "/" and home is this process's HOME, else home/.config). A file that is missing, unreadable or not
// UTF-8 gives the defaults: it only says where to look, so a guess costs nothing but a folder not searched.
Folders read(const QString& home, const QString& configHome = {});

} // namespace UserDirs
