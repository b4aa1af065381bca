#pragma once

// Builds synthetic folder trees for scanner and executor tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace SyntheticHome {

// Writes a file of `size` bytes (creating its folders) and returns its path.
inline QString file(const QString& path, qint64 size = 1, char fill = 'x')
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(QByteArray(size, fill));
    return path;
}

inline QString folder(const QString& path)
{
    QDir().mkpath(path);
    return path;
}

inline QString link(const QString& target, const QString& linkPath)
{
    QDir().mkpath(QFileInfo(linkPath).absolutePath());
    QFile::link(target, linkPath);
    return linkPath;
}

inline bool exists(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// Allocated bytes of one item as the file system reports them.
qint64 allocated(const QString& path);

} // namespace SyntheticHome
