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
    return PathText::joined(QFile::decodeName(folder), QFile::decodeName(m_name));
}

std::optional<FileFacts> Reached::factsNow() const
{
    return FileFactsReader::at(m_parentFd, m_name.constData());
}

Outcome reach(const QString& root, const QString& path)
{
    Outcome outcome;
    const QString rootText = PathText::standardized(root);
    const QString target = PathText::standardized(path);
    if (!QDir::isAbsolutePath(rootText) || target == rootText || !PathText::isAtOrBelow(target, rootText)) {
        outcome.failure = Failure::outsideRoot;
        return outcome;
    }
    const QStringList components =
        target.mid(rootText.endsWith(QLatin1Char('/')) ? rootText.size() : rootText.size() + 1)
            .split(QLatin1Char('/'));
    // The root is the trusted starting point, opened as given.
    int fd = ::open(QFile::encodeName(rootText).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        outcome.failure = Failure::outsideRoot;
        outcome.stoppedAt = rootText;
        return outcome;
    }
    QString walked = rootText;
    for (qsizetype i = 0; i + 1 < components.size(); ++i) {
        const QByteArray name = QFile::encodeName(components[i]);
        walked = PathText::joined(walked, components[i]);
        const int next = openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            const std::optional<FileFacts> facts = FileFactsReader::at(fd, name.constData());
            ::close(fd);
            outcome.failure = facts && facts->isLink()     ? Failure::throughLink
                              : facts && facts->isFolder() ? Failure::unreadable
                                                           : Failure::missing;
            outcome.stoppedAt = walked;
            return outcome;
        }
        ::close(fd);
        fd = next;
    }
    const QByteArray name = QFile::encodeName(components.last());
    const std::optional<FileFacts> facts = FileFactsReader::at(fd, name.constData());
    if (!facts) {
        outcome.failure = errno == EACCES ? Failure::unreadable : Failure::missing;
        outcome.stoppedAt = walked;
        ::close(fd);
        return outcome;
    }
    outcome.item.emplace(fd, name, target, *facts);
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
