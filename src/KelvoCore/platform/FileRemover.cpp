#include "platform/FileRemover.h"

#include "platform/DirectoryStream.h"
#include "platform/FileErrorText.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/KelvoLog.h"
#include "vocabulary/PathText.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace FileRemover {

void Tally::add(const Tally& other)
{
    removed += other.removed;
    failed += other.failed;
    bytes = ByteCount::saturatingAdd(bytes, other.bytes);
    for (const LeftBehind& item : other.left)
        if (qsizetype(left.size()) < maxReported)
            left.push_back(item);
}

void Tally::leave(const QString& path, const QString& reason)
{
    ++failed;
    if (qsizetype(left.size()) < maxReported)
        left.push_back({path, reason});
}

namespace {

class Removal {
public:
    Removal(const KeepTest& keep, quint64 device)
        : m_keep(keep)
        , m_device(device)
    {
    }

    Tally tally;

    // Handles the item `name` of the open folder folderFd; true when nothing is left of it.
    bool item(int folderFd, const char* name, const QString& path, int depth)
    {
        const std::optional<FileFacts> facts = FileFactsReader::at(folderFd, name);
        if (!facts)
            return vanishedOr(path, errno);
        if (m_keep && m_keep(path))
            return false; // protected: it stays, and that is no failure
        if (facts->mountRoot || (facts->isFolder() && facts->identity.device != m_device)) {
            tally.leave(path, FileErrorText::otherFileSystem(path));
            return false;
        }
        if (!facts->isFolder()) {
            // Files, links and special files go as themselves; unlinkat never follows a link.
            if (unlinkat(folderFd, name, 0) != 0)
                return vanishedOr(path, errno);
            ++tally.removed;
            tally.bytes = ByteCount::saturatingAdd(tally.bytes, facts->allocatedBytes);
            return true;
        }
        if (depth >= maxNestingDepth) {
            tally.leave(path, FileErrorText::nestedTooDeeply(path));
            return false;
        }
        const int fd = openat(folderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return errno == ELOOP || errno == ENOTDIR ? changed(path) : vanishedOr(path, errno);
        // The folder opened must be the one looked at: a swap in between is not entered.
        const std::optional<FileFacts> opened = FileFactsReader::of(fd);
        if (!opened || opened->identity != facts->identity) {
            ::close(fd);
            return changed(path);
        }
        const int removedBefore = tally.removed;
        if (!contents(fd, path, depth + 1))
            return false;
        if (unlinkat(folderFd, name, AT_REMOVEDIR) != 0)
            return vanishedOr(path, errno);
        // A folder removed whole counts once, however much it held.
        tally.removed = removedBefore + 1;
        return true;
    }

    // Removes the contents of the open folder fd (taken over and closed here); true when it is empty.
    bool contents(int fd, const QString& path, int depth)
    {
        DirectoryStream listing(fd);
        if (!listing.isOpen())
            return vanishedOr(path, listing.error());
        bool allGone = true;
        while (const std::optional<DirectoryStream::Entry> entry = listing.next()) {
            const QString childPath = PathText::joined(path, QFile::decodeName(entry->name));
            allGone = item(listing.fd(), entry->name, childPath, depth) && allGone;
        }
        if (listing.error() != 0) // the listing broke off: what was not listed stays
            allGone = vanishedOr(path, listing.error()) && allGone;
        return allGone;
    }

private:
    // Something that vanished on its own is gone; any other error leaves it, counted as failed.
    bool vanishedOr(const QString& path, int error)
    {
        if (error == ENOENT)
            return true;
        tally.leave(path, FileErrorText::cannotRemove(path, error));
        return false;
    }

    bool changed(const QString& path)
    {
        tally.leave(path, FileErrorText::changedSinceScan(path));
        return false;
    }

    const KeepTest& m_keep;
    quint64 m_device;
};

} // namespace

Tally removeContents(const ConfinedPath::Reached& folder, const KeepTest& keep)
{
    Removal removal(keep, folder.facts().identity.device);
    const int fd = folder.openFolder();
    if (fd < 0) {
        qCDebug(lcFiles, "%s not opened: %s", qUtf8Printable(folder.path()),
                qUtf8Printable(qt_error_string(errno)));
        removal.tally.leave(folder.path(), FileErrorText::changedSinceScan(folder.path()));
        return removal.tally;
    }
    removal.contents(fd, folder.path(), 1);
    return removal.tally;
}

Tally removeItem(const ConfinedPath::Reached& item, const KeepTest& keep)
{
    Removal removal(keep, item.facts().identity.device);
    const std::optional<FileFacts> now = item.factsNow();
    if (!now || now->identity != item.facts().identity) {
        if (!now) // taken as gone
            qCDebug(lcFiles, "%s not found: %s", qUtf8Printable(item.path()),
                    qUtf8Printable(qt_error_string(errno)));
        else
            removal.tally.leave(item.path(), FileErrorText::changedSinceScan(item.path()));
        return removal.tally;
    }
    removal.item(item.parentFd(), item.name().constData(), item.path(), 0);
    return removal.tally;
}

Tally removeBelow(const QString& root, const QString& path, const KeepTest& keep)
{
    const ConfinedPath::Outcome outcome = ConfinedPath::reach(root, path);
    if (outcome.item)
        return removeItem(*outcome.item, keep);
    Tally tally;
    if (outcome.failure != ConfinedPath::Failure::missing)
        tally.leave(path, ConfinedPath::describe(outcome, path));
    return tally;
}

QString leftBehindText(qint64 count, const std::vector<LeftBehind>& left)
{
    constexpr qsizetype shown = 5;
    QStringList lines{AppLocalization::localized(QStringLiteral("%1 项没有删除："),
                                                 count == 1 ? QStringLiteral("%1 item stayed:")
                                                            : QStringLiteral("%1 items stayed:"))
                          .arg(count)};
    for (qsizetype i = 0; i < qsizetype(left.size()) && i < shown; ++i)
        lines << QStringLiteral("• ") + left[std::size_t(i)].reason;
    if (count > std::min<qint64>(shown, qint64(left.size())))
        lines << AppLocalization::localized(QStringLiteral("……还有 %1 项。"), QStringLiteral("…and %1 more."))
                     .arg(count - std::min<qint64>(shown, qint64(left.size())));
    return lines.join(QLatin1Char('\n'));
}

} // namespace FileRemover
