#include "platform/FileRemover.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileRemover {

namespace {

bool isHidden(const char* name)
{
    return name[0] == '.';
}

// Empties and removes the folder `name` inside parentFd. Every step is relative to an open folder
// and opens with O_NOFOLLOW, so a folder swapped for a link mid-way is never entered.
bool removeFolder(int parentFd, const char* name, bool counted, qint64& bytes)
{
    const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool allRemoved = true;
    while (const dirent* entry = readdir(dir)) {
        const char* child = entry->d_name;
        if (child[0] == '.' && (child[1] == '\0' || (child[1] == '.' && child[2] == '\0')))
            continue;
        struct stat info;
        if (fstatat(dirfd(dir), child, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            allRemoved = allRemoved && errno == ENOENT; // vanished meanwhile: nothing left to remove
            continue;
        }
        const bool childCounted = counted && !isHidden(child);
        if (S_ISDIR(info.st_mode)) {
            allRemoved = removeFolder(dirfd(dir), child, childCounted, bytes) && allRemoved;
        } else if (unlinkat(dirfd(dir), child, 0) == 0) {
            if (childCounted)
                bytes += static_cast<qint64>(info.st_blocks) * 512;
        } else {
            allRemoved = false;
        }
    }
    closedir(dir);
    return allRemoved && unlinkat(parentFd, name, AT_REMOVEDIR) == 0;
}

} // namespace

Outcome removeItem(const QString& path)
{
    Outcome outcome;
    const QByteArray encoded = QFile::encodeName(path);
    struct stat info;
    if (lstat(encoded.constData(), &info) != 0)
        return outcome;
    if (!S_ISDIR(info.st_mode)) {
        outcome.removed = ::unlink(encoded.constData()) == 0;
        if (outcome.removed)
            outcome.countedBytes = static_cast<qint64>(info.st_blocks) * 512;
        return outcome;
    }
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QByteArray parent = QFile::encodeName(slash > 0 ? path.left(slash) : QStringLiteral("/"));
    const QByteArray name = QFile::encodeName(path.mid(slash + 1));
    const int parentFd = ::open(parent.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0)
        return outcome;
    qint64 bytes = 0;
    outcome.removed = removeFolder(parentFd, name.constData(), true, bytes);
    outcome.countedBytes = outcome.removed ? bytes : 0;
    ::close(parentFd);
    return outcome;
}

} // namespace FileRemover
