#include "platform/ConfinedPath.h"

#include "platform/FileErrorText.h"
#include "platform/PathText.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
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
    }
    return FileErrorText::outsideScope(path);
}

} // namespace ConfinedPath
