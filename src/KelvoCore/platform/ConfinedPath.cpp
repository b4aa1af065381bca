#include "platform/ConfinedPath.h"

#include "platform/DirectoryStream.h"
#include "platform/FileErrorText.h"
#include "vocabulary/PathText.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ConfinedPath {

Reached::Reached(int parentFd, QByteArray name, QString path, FileFacts facts)
    : m_parentFd(parentFd)
    , m_name(std::move(name))
    , m_path(std::move(path))
    , m_facts(facts)
{
}

Reached::Reached(Reached&& other) noexcept
    : m_parentFd(std::exchange(other.m_parentFd, -1))
    , m_name(std::move(other.m_name))
    , m_path(std::move(other.m_path))
    , m_facts(other.m_facts)
{
}

Reached& Reached::operator=(Reached&& other) noexcept
{
    if (this != &other) {
        if (m_parentFd >= 0)
            ::close(m_parentFd);
        m_parentFd = std::exchange(other.m_parentFd, -1);
        m_name = std::move(other.m_name);
        m_path = std::move(other.m_path);
        m_facts = other.m_facts;
    }
    return *this;
}

Reached::~Reached()
{
    if (m_parentFd >= 0)
        ::close(m_parentFd);
}

int Reached::openFolder() const
{
    const int fd = openat(m_parentFd, m_name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const std::optional<FileFacts> opened = FileFactsReader::of(fd);
    if (!opened || opened->identity != m_facts.identity) {
        ::close(fd);
        errno = ESTALE;
        return -1;
    }
    return fd;
}

std::optional<QString> Reached::resolvedPath() const
{
    const std::optional<QByteArray> path = resolvedRawPath();
    return path ? std::optional(QFile::decodeName(*path)) : std::nullopt;
}

std::optional<QByteArray> Reached::resolvedRawPath() const
{
    QByteArray folder(PATH_MAX + 1, '\0');
#ifdef F_GETPATH
    if (fcntl(m_parentFd, F_GETPATH, folder.data()) == -1)
        return std::nullopt;
    folder.truncate(qsizetype(qstrlen(folder.constData())));
#else
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(m_parentFd);
    const ssize_t length = readlink(link.constData(), folder.data(), folder.size());
    if (length <= 0 || length >= folder.size())
        return std::nullopt;
    folder.truncate(length);
#endif
    if (!folder.startsWith('/'))
        return std::nullopt; // not a path of this file system ("anon_inode:..." and the like)
    return PathText::joined(folder, m_name);
}

std::optional<FileFacts> Reached::factsNow() const
{
    return FileFactsReader::at(m_parentFd, m_name.constData());
}

Outcome reach(const QString& root, const QString& path)
{
    return reach(QFile::encodeName(root), QFile::encodeName(path));
}

Outcome reach(const QByteArray& root, const QByteArray& path)
{
    Outcome outcome;
    const QByteArray rootBytes = PathText::standardized(root);
    const QByteArray target = PathText::standardized(path);
    if (!QDir::isAbsolutePath(QString::fromLatin1(rootBytes)) || target == rootBytes ||
        !PathText::isAtOrBelow(target, rootBytes)) {
        outcome.failure = Failure::outsideRoot;
        return outcome;
    }
    const QList<QByteArray> components =
        target.mid(rootBytes.endsWith('/') ? rootBytes.size() : rootBytes.size() + 1).split('/');
    // The root is the trusted starting point, opened as given.
    int fd = ::open(rootBytes.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        outcome.failure = Failure::outsideRoot;
        outcome.stoppedAt = PathText::shown(rootBytes);
        return outcome;
    }
    QByteArray walked = rootBytes;
    for (qsizetype i = 0; i + 1 < components.size(); ++i) {
        const QByteArray& name = components[i];
        walked = PathText::joined(walked, name);
        const int next = openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            const std::optional<FileFacts> facts = FileFactsReader::at(fd, name.constData());
            ::close(fd);
            outcome.failure = facts && facts->isLink()     ? Failure::throughLink
                              : facts && facts->isFolder() ? Failure::unreadable
                                                           : Failure::missing;
            outcome.stoppedAt = PathText::shown(walked);
            return outcome;
        }
        ::close(fd);
        fd = next;
    }
    const QByteArray& name = components.last();
    const std::optional<FileFacts> facts = FileFactsReader::at(fd, name.constData());
    if (!facts) {
        outcome.failure = errno == EACCES ? Failure::unreadable : Failure::missing;
        outcome.stoppedAt = PathText::shown(walked);
        ::close(fd);
        return outcome;
    }
    outcome.item.emplace(fd, name, PathText::shown(target), *facts);
    return outcome;
}

QString describe(const Outcome& outcome, const QString& path)
{
    switch (outcome.failure) {
    case Failure::missing:
        return FileErrorText::noLongerExists(path);
    case Failure::throughLink:
        return FileErrorText::linkOnTheWay(path, outcome.stoppedAt);
    case Failure::outsideRoot:
        return FileErrorText::outsideScope(path);
    case Failure::unreadable:
        return FileErrorText::cannotOpenOnTheWay(path, outcome.stoppedAt);
    case Failure::notFolder:
        return FileErrorText::noLongerExists(path);
    }
    return FileErrorText::outsideScope(path);
}

namespace {

// Writes everything the source yields to fd; 0 or the errno of what failed.
int copyInto(QIODevice& source, int fd)
{
    char buffer[65536];
    for (;;) {
        const qint64 count = source.read(buffer, sizeof buffer);
        if (count < 0)
            return EIO;
        if (count == 0)
            return 0;
        for (qint64 done = 0; done < count;) {
            const ssize_t written = ::write(fd, buffer + done, size_t(count - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return written < 0 ? errno : ENOSPC;
            done += written;
        }
    }
}

} // namespace

Folder::Folder(int fd, QString path)
    : m_fd(fd)
    , m_path(std::move(path))
{
}

Folder::Folder(Folder&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_path(std::move(other.m_path))
{
}

Folder& Folder::operator=(Folder&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

Folder::~Folder()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QByteArrayList Folder::names() const
{
    QByteArrayList names;
    // A descriptor of its own, which the listing closes.
    DirectoryStream listing(openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    while (const std::optional<DirectoryStream::Entry> entry = listing.next())
        names << QByteArray(entry->name);
    return names;
}

std::optional<Reached> Folder::child(const QByteArray& name) const
{
    const std::optional<FileFacts> facts = FileFactsReader::at(m_fd, name.constData());
    const int parent = facts ? fcntl(m_fd, F_DUPFD_CLOEXEC, 0) : -1;
    if (parent < 0)
        return std::nullopt;
    return Reached(parent, name, PathText::joined(m_path, QFile::decodeName(name)), *facts);
}

int Folder::writeFile(const QByteArray& name, QIODevice& source) const
{
    if (const std::optional<FileFacts> there = FileFactsReader::at(m_fd, name.constData())) {
        if (there->isLink())
            return ELOOP;
        if (there->isFolder())
            return EISDIR;
    }
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = "." + name + ".kelvo-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = openat(m_fd, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100))
            return errno;
    }
    int error = copyInto(source, fd);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    // A swap of the name for a link after the check above only replaces the link, never its target.
    if (error == 0 && renameat(m_fd, temporary.constData(), m_fd, name.constData()) != 0)
        error = errno;
    if (error != 0) {
        unlinkat(m_fd, temporary.constData(), 0);
        return error;
    }
    ::fsync(m_fd); // the new name, too, is on the disk
    return 0;
}

FolderOutcome reachFolder(const QString& root, const QString& path, Missing missing)
{
    FolderOutcome outcome;
    outcome.root = PathText::standardized(root);
    const QString target = PathText::standardized(path);
    const auto stop = [&outcome](Failure failure, const QString& at, int error) {
        outcome.failure = failure;
        outcome.stoppedAt = at;
        outcome.error = error;
        return std::move(outcome);
    };
    if (!QDir::isAbsolutePath(outcome.root) || !PathText::isAtOrBelow(target, outcome.root))
        return stop(Failure::outsideRoot, target, 0);
    // The root is the trusted starting point, opened as given.
    int fd = ::open(QFile::encodeName(outcome.root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return stop(errno == ENOENT ? Failure::missing : Failure::unreadable, outcome.root, errno);
    QString walked = outcome.root;
    for (const QString& component :
         target.mid(outcome.root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QByteArray name = QFile::encodeName(component);
        walked = PathText::joined(walked, component);
        constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int next = openat(fd, name.constData(), flags);
        if (next < 0 && errno == ENOENT && missing == Missing::create) {
            if (mkdirat(fd, name.constData(), 0700) == 0 || errno == EEXIST)
                next = openat(fd, name.constData(), flags);
        }
        if (next < 0) {
            const int error = errno;
            const std::optional<FileFacts> facts = FileFactsReader::at(fd, name.constData());
            ::close(fd);
            return stop(!facts               ? (error == ENOENT ? Failure::missing : Failure::unreadable)
                        : facts->isLink()    ? Failure::throughLink
                        : !facts->isFolder() ? Failure::notFolder
                                             : Failure::unreadable,
                        walked, error);
        }
        ::close(fd);
        fd = next;
    }
    outcome.folder.emplace(fd, target);
    return outcome;
}

QString describe(const FolderOutcome& outcome, const QString& home)
{
    const QString place = PathText::fromHome(outcome.stoppedAt, home);
    switch (outcome.failure) {
    case Failure::missing:
        return FileErrorText::missingFolder(place);
    case Failure::throughLink:
        return FileErrorText::isLink(place);
    case Failure::outsideRoot:
        return FileErrorText::notInside(place, PathText::fromHome(outcome.root, home));
    case Failure::unreadable:
        return FileErrorText::cannotOpenFolder(place, outcome.error);
    case Failure::notFolder:
        return FileErrorText::notAFolder(place);
    }
    return FileErrorText::notAFolder(place);
}

} // namespace ConfinedPath
