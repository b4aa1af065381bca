#include "platform/Trash.h"

#include "platform/FileErrorText.h"
#include "platform/HomeFolder.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/KelvoLog.h"
#include "vocabulary/PathText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace Trash {

namespace {

[[noreturn]] void refuse(const ConfinedPath::Reached& item, const QString& why)
{
    throw KelvoError(KelvoError::Kind::unwritable, FileErrorText::cannotMoveToTrash(item.path(), why));
}

void checkUnchanged(const ConfinedPath::Reached& item)
{
    const std::optional<FileFacts> now = item.factsNow();
    if (!now) {
        qCDebug(lcTrash, "%s: %s", qUtf8Printable(item.path()), qUtf8Printable(qt_error_string(errno)));
        refuse(item, FileErrorText::reason(ENOENT));
    }
    if (now->identity != item.facts().identity)
        throw KelvoError(KelvoError::Kind::changed, FileErrorText::changedSinceScan(item.path()));
}

#ifndef Q_OS_MACOS
// Removes an info file whose move did not happen; one that stays names an item the Trash does not hold.
void dropInfo(const ConfinedPath::Folder& info, const QByteArray& infoName)
{
    if (unlinkat(info.fd(), infoName.constData(), 0) != 0)
        qCWarning(lcTrash, "%s stays in the Trash: %s", infoName.constData(),
                  qUtf8Printable(qt_error_string(errno)));
}

// The Trash's "files" or "info" folder, reached from the home folder without a link at any level and
// made where missing (the Trash itself, too, private to its user).
ConfinedPath::Folder trashFolder(const ConfinedPath::Reached& item, const QString& home, const QString& name)
{
    ConfinedPath::FolderOutcome reached = ConfinedPath::reachFolder(
        home, freedesktopTrashFolder() + QLatin1Char('/') + name, ConfinedPath::Missing::create);
    if (!reached.folder)
        refuse(item, ConfinedPath::describe(reached, home));
    return std::move(*reached.folder);
}

// The freedesktop way: an info file that names where the item came from and when, written first
// and exclusively (it reserves the name), then the item renamed into "files" from its open parent
// folder, so the move cannot be redirected by a swap above it.
void moveToFreedesktopTrash(const ConfinedPath::Reached& item)
{
    // The Trash of the user running Kelvo, inside their home folder: a data folder elsewhere
    // (XDG_DATA_HOME outside the home) is not a place Kelvo moves the user's items to.
    const QString home = HomeFolder::current();
    if (const std::optional<QString> problem = HomeFolder::problem(home))
        throw KelvoError(KelvoError::Kind::unusableHome, *problem);
    const QString trash = freedesktopTrashFolder();
    if (trash == PathText::standardized(home) || !PathText::isAtOrBelow(trash, PathText::standardized(home)))
        refuse(item, FileErrorText::notInside(trash, home));
    const ConfinedPath::Folder files = trashFolder(item, home, QStringLiteral("files"));
    const ConfinedPath::Folder info = trashFolder(item, home, QStringLiteral("info"));
    // The bytes themselves, so that a name that is not UTF-8 is put back under its own name.
    const std::optional<QByteArray> origin = item.resolvedRawPath();
    if (!origin)
        refuse(item, FileErrorText::reason(ENOENT));
    const QByteArray infoText =
        "[Trash Info]\nPath=" + QUrl::toPercentEncoding(*origin, "/") +
        "\nDeletionDate=" + QDateTime::currentDateTime().toString(Qt::ISODate).left(19).toUtf8() + "\n";
    for (int attempt = 1; attempt < 10000; ++attempt) {
        const QByteArray name = attempt == 1 ? item.name() : item.name() + "-" + QByteArray::number(attempt);
        const QByteArray infoName = name + ".trashinfo";
        const int infoFd =
            openat(info.fd(), infoName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (infoFd < 0) {
            if (errno == EEXIST)
                continue;
            refuse(item, FileErrorText::reason(errno));
        }
        const bool written =
            ::write(infoFd, infoText.constData(), size_t(infoText.size())) == infoText.size();
        ::close(infoFd);
        if (!written) {
            dropInfo(info, infoName);
            refuse(item, FileErrorText::reason(ENOSPC));
        }
        try {
            checkUnchanged(item);
        } catch (const KelvoError&) {
            dropInfo(info, infoName);
            throw;
        }
        if (renameat2(item.parentFd(), item.name().constData(), files.fd(), name.constData(),
                      RENAME_NOREPLACE) == 0)
            return;
        const int error = errno;
        dropInfo(info, infoName);
        if (error != EEXIST)
            refuse(item, FileErrorText::reason(error));
    }
    refuse(item, FileErrorText::reason(EEXIST));
}
#endif

} // namespace

QString freedesktopTrashFolder()
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    return PathText::standardized(
        (QDir::isAbsolutePath(dataHome)
             ? dataHome
             : PathText::joined(HomeFolder::current(), QStringLiteral(".local/share"))) +
        QStringLiteral("/Trash"));
}

void moveToTrash(const ConfinedPath::Reached& item)
{
#ifdef Q_OS_MACOS
    // Finder's Trash is reached by path only. The path is the one the open parent folder resolves to
    // (no link in it), and the item is checked once more right before the move.
    const std::optional<QString> resolved = item.resolvedPath();
    if (!resolved)
        refuse(item, FileErrorText::reason(ENOENT));
    checkUnchanged(item);
    if (!QFile::moveToTrash(*resolved))
        refuse(item, FileErrorText::reason(errno ? errno : EPERM));
#else
    moveToFreedesktopTrash(item);
#endif
}

} // namespace Trash
