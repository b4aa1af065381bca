#include "update/InstallationReplacement.h"

#include "platform/FileErrorText.h"
#include "platform/FileRemover.h"
#include "update/UpdateInstallerText.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool exists(const QFileInfo& item)
{
    return item.exists() || item.isSymLink();
}

// The nearest folder at or above path that exists.
QString nearestFolder(QString path)
{
    while (!QFileInfo(path).exists() && path != QDir::rootPath())
        path = QFileInfo(path).absolutePath();
    return path;
}

// A new file at target (never an existing one, never through a link) with the bytes of the regular file
// at source (never read through a link) and exactly `mode`, whatever the umask.
bool copyWithMode(const QString& source, const QString& target, mode_t mode)
{
    QFile in;
    const int from = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (from < 0 || !in.open(from, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (from >= 0)
            ::close(from);
        return false;
    }
    const int descriptor = ::open(QFile::encodeName(target).constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    QFile out;
    if (descriptor < 0 || !out.open(descriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        if (descriptor >= 0)
            ::close(descriptor);
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray piece = in.read(1 << 20);
        if (piece.isEmpty() || out.write(piece) != piece.size())
            return false;
    }
    return out.flush() && ::fchmod(descriptor, mode) == 0;
}

// A copy of source at target, as itself: a link stays a link (pointing where it pointed), a file keeps
// its permission bits but never setuid, setgid or sticky ones.
bool copyItem(const QString& source, const QString& target)
{
    struct stat facts {};
    if (::lstat(QFile::encodeName(source).constData(), &facts) != 0)
        return false;
    if (!S_ISLNK(facts.st_mode))
        return S_ISREG(facts.st_mode) && copyWithMode(source, target, facts.st_mode & 0777);
    QByteArray pointsTo(PATH_MAX, '\0');
    const ssize_t length =
        ::readlink(QFile::encodeName(source).constData(), pointsTo.data(), pointsTo.size());
    if (length <= 0 || length >= pointsTo.size())
        return false;
    pointsTo.truncate(length);
    return ::symlink(pointsTo.constData(), QFile::encodeName(target).constData()) == 0;
}

// A second name for the old file that keeps it whatever happens to the first: a hard link when the
// file system allows one, else a copy.
bool keepOld(const QString& target, const QString& backup)
{
    return ::link(QFile::encodeName(target).constData(), QFile::encodeName(backup).constData()) == 0 ||
           copyItem(target, backup);
}

// What an installed file's mode is, whatever the package said: the programs in bin/ 0755, everything
// else 0644, so nothing the package carries can install a setuid, setgid or world-writable file.
mode_t installedMode(const QString& relative, const QString& source)
{
    struct stat facts {};
    const bool executable =
        ::lstat(QFile::encodeName(source).constData(), &facts) == 0 && (facts.st_mode & S_IXUSR) != 0;
    return relative.startsWith(u"bin/") && executable ? 0755 : 0644;
}

bool renameOver(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

struct Swap {
    QString target;
    QString staging; // the new file, next to the target
    QString backup;  // the old file's second name; empty when there was none
    bool swapped = false;
};

QString sideName(const QString& target, const char* role)
{
    const QFileInfo item(target);
    return item.absolutePath() + QStringLiteral("/.kelvo-update-%1-").arg(QLatin1String(role)) +
           item.fileName();
}

// Gives a folder just made mode 0755, whatever the umask made it.
bool setFolderMode(const QString& path)
{
    const int folder =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const bool set = folder >= 0 && ::fchmod(folder, 0755) == 0;
    if (folder >= 0)
        ::close(folder);
    return set;
}

// One replacement run: what it has done so far, so a failure can undo exactly that.
class Replacement {
public:
    explicit Replacement(QString installation)
        : m_installation(std::move(installation))
    {
    }

    void run(const QString& source, const QStringList& files)
    {
        const QString& installation = m_installation;
        try {
            for (const QString& relative : files)
                stage(source + u'/' + relative, installation + u'/' + relative,
                      installedMode(relative, source + u'/' + relative));
            for (Swap& swap : m_swaps)
                put(swap);
        } catch (const KelvoError&) {
            undo();
            throw;
        }
        for (const Swap& swap : m_swaps)
            if (!swap.backup.isEmpty())
                removeItem(swap.backup);
    }

private:
    void stage(const QString& from, const QString& target, mode_t mode)
    {
        const QString folder = QFileInfo(target).absolutePath();
        makeFolders(folder);
        Swap swap{target, sideName(target, "new"), QString()};
        removeItem(swap.staging);
        const bool copied = QFileInfo(from).isSymLink() ? copyItem(from, swap.staging)
                                                        : copyWithMode(from, swap.staging, mode);
        if (!copied)
            throw KelvoError(
                KelvoError::Kind::installFailed,
                UpdateInstallerText::replacementFailed(FileErrorText::cannotCopy(from, swap.staging)));
        m_swaps.push_back(swap);
    }

    void put(Swap& swap)
    {
        if (exists(QFileInfo(swap.target))) {
            const QString backup = sideName(swap.target, "old");
            removeItem(backup);
            if (!keepOld(swap.target, backup))
                throw KelvoError(
                    KelvoError::Kind::installFailed,
                    UpdateInstallerText::replacementFailed(FileErrorText::cannotCopy(swap.target, backup)));
            swap.backup = backup;
        }
        if (!renameOver(swap.staging, swap.target))
            throw KelvoError(
                KelvoError::Kind::installFailed,
                UpdateInstallerText::replacementFailed(UpdateInstallerText::cannotReplace(swap.target)));
        swap.swapped = true;
    }

    void makeFolders(const QString& folder)
    {
        QStringList missing;
        for (QString path = folder; !QFileInfo(path).exists(); path = QFileInfo(path).absolutePath())
            missing.prepend(path);
        for (const QString& path : missing) {
            const bool made = ::mkdir(QFile::encodeName(path).constData(), 0755) == 0;
            if (made)
                m_madeFolders.prepend(path);
            if (!made || !setFolderMode(path))
                throw KelvoError(
                    KelvoError::Kind::installFailed,
                    UpdateInstallerText::replacementFailed(FileErrorText::cannotCreateFolder(path)));
        }
    }

    // Newest first: each old file goes back over the new one, new files and folders go.
    void undo()
    {
        for (auto swap = m_swaps.rbegin(); swap != m_swaps.rend(); ++swap) {
            if (swap->swapped && !swap->backup.isEmpty())
                renameOver(swap->backup, swap->target);
            else if (swap->swapped)
                removeItem(swap->target);
            else
                removeItem(swap->staging);
            if (!swap->swapped && !swap->backup.isEmpty())
                removeItem(swap->backup);
        }
        for (const QString& folder : m_madeFolders)
            QDir().rmdir(folder);
    }

    // A file of the installation removed through the remover, reached from the installation folder
    // without a link on the way.
    void removeItem(const QString& path) const { FileRemover::removeBelow(m_installation, path); }

    QString m_installation;
    std::vector<Swap> m_swaps;
    QStringList m_madeFolders; // deepest first
};

} // namespace

namespace InstallationReplacement {

bool canWrite(const QString& installation, const QStringList& files)
{
    for (const QString& relative : files) {
        const QFileInfo target(installation + u'/' + relative);
        const QFileInfo folder(nearestFolder(target.absolutePath()));
        if (!folder.isDir() || !folder.isWritable())
            return false;
        // A link is replaced as itself, which needs only its folder.
        if (target.exists() && !target.isSymLink() && !target.isWritable())
            return false;
    }
    return true;
}

void replace(const QString& source, const QString& installation, const QStringList& files)
{
    Replacement(installation).run(source, files);
}

} // namespace InstallationReplacement
