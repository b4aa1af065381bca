#pragma once

// A fuzz input read as a folder of files, for the readers that take a folder (a synthetic /proc, /sys
// and /etc, a replay of recorded tool outputs): lines "=== relative/path" start a file, the lines after
// them are its text. Names are kept inside the folder (".." and empty parts dropped), so whatever the
// input says, nothing is written elsewhere.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QTemporaryDir>

#include <utility>

namespace FuzzFolder {

using Files = QList<std::pair<QByteArray, QByteArray>>; // relative path, contents

// The files an input names; none when it holds no "=== " line.
inline Files files(const QByteArray& input)
{
    Files found;
    for (const QByteArray& line : input.split('\n')) {
        if (line.startsWith("=== ")) {
            if (found.size() == 64)
                break;
            QByteArrayList parts;
            for (const QByteArray& part : line.mid(4).split('/'))
                if (!part.isEmpty() && part != "." && part != ".." && !part.contains('\0'))
                    parts << part.left(64);
            found.append({parts.mid(0, 10).join('/'), {}});
        } else if (!found.isEmpty()) {
            found.last().second += line + '\n';
        }
    }
    return found;
}

// Empties `folder` and writes the files into it; a path that cannot be made (a file where a folder is
// needed) is left out, as a reader would find it missing.
inline void write(const QString& folder, const Files& contents)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    for (const auto& [path, text] : contents) {
        if (path.isEmpty())
            continue;
        const QString file = folder + u'/' + QString::fromLocal8Bit(path);
        QDir().mkpath(file.section(u'/', 0, -2));
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(text);
    }
}

// One scratch folder for the whole run, removed at exit: in memory where the system offers it, since
// every input rewrites it.
inline QString scratch()
{
    static const QString parent =
        QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static const QTemporaryDir folder(parent + QStringLiteral("/kelvo-fuzz-XXXXXX"));
    return folder.path();
}

} // namespace FuzzFolder
