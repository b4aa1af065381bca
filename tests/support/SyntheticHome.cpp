#include "SyntheticHome.h"

#include "platform/FileRemover.h"
#include "platform/LanguagePreferenceStore.h"

#include <QDirIterator>

#include <fcntl.h>
#include <ftw.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/mount.h>
#endif

namespace SyntheticHome {

qint64 allocated(const QString& path)
{
    struct stat info;
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<qint64>(info.st_blocks) * 512;
}

QMap<QString, QByteArray> tree(const QString& folder)
{
    QMap<QString, QByteArray> items;
    for (QDirIterator walk(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDirIterator::Subdirectories);
         walk.hasNext();) {
        const QFileInfo item(walk.next());
        items.insert(item.filePath().mid(folder.size() + 1),
                     item.isSymLink() ? "-> " + QFile::encodeName(item.symLinkTarget())
                     : item.isDir()   ? QByteArray("/")
                                      : contents(item.filePath()));
    }
    return items;
}

bool asUnprivileged(const QString& tree, const std::function<bool()>& check)
{
    constexpr uid_t nobody = 65534;
    if (geteuid() != 0)
        return check();
    nftw(
        QFile::encodeName(tree).constData(),
        [](const char* path, const struct stat*, int, FTW*) { return lchown(path, nobody, nobody); }, 16,
        FTW_PHYS);
    const pid_t child = fork();
    if (child == 0) {
        const bool passed =
            setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0 && check();
        _exit(passed ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int nestedFolders(const QString& base, int levels, const QByteArray& name)
{
    QDir().mkpath(base);
    int fd = ::open(QFile::encodeName(base).constData(), O_RDONLY | O_DIRECTORY);
    int made = 0;
    for (; fd >= 0 && made < levels; ++made) {
        mkdirat(fd, name.constData(), 0700);
        const int next = openat(fd, name.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    if (fd >= 0) {
        ::close(openat(fd, "leaf", O_WRONLY | O_CREAT, 0600));
        ::close(fd);
    }
    return made;
}

void rawFile(const QString& folder, const QByteArray& name, const QByteArray& data)
{
    QDir().mkpath(folder);
    const QByteArray base = QFile::encodeName(folder) + '/';
    for (qsizetype slash = name.indexOf('/'); slash > 0; slash = name.indexOf('/', slash + 1))
        ::mkdir((base + name.left(slash)).constData(), 0700);
    const int fd = ::open((base + name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const bool written = fd >= 0 && ::write(fd, data.constData(), data.size()) == data.size();
    QTest::qVerify(written, "rawFile", name.constData(), __FILE__, __LINE__);
    ::close(fd);
}

void emptyFolder(const QString& folder)
{
    const ConfinedPath::Outcome outcome = ConfinedPath::reach(QFileInfo(folder).path(), folder);
    if (outcome.item)
        FileRemover::removeContents(*outcome.item);
}

BindMount::BindMount(const QString& source, const QString& target)
    : m_target(target)
{
#ifdef __linux__
    m_mounted = mount(QFile::encodeName(source).constData(), QFile::encodeName(target).constData(), nullptr,
                      MS_BIND, nullptr) == 0;
#endif
}

BindMount::~BindMount()
{
#ifdef __linux__
    if (m_mounted)
        umount2(QFile::encodeName(m_target).constData(), MNT_DETACH);
#endif
}

ReadOnly::ReadOnly(const QString& path)
    : m_path(path)
{
    if (!m_path.isEmpty())
        QTest::qVerify(QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ExeOwner),
                       "ReadOnly", qPrintable(m_path), __FILE__, __LINE__);
}

ReadOnly::~ReadOnly()
{
    if (!m_path.isEmpty())
        QFile::setPermissions(m_path,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void useLanguage(AppLanguagePreference preference)
{
    LanguagePreferenceStore::save(preference);
    AppLocalization::setPreference(preference);
}

Sandbox::~Sandbox()
{
    useLanguage(AppLanguagePreference::system); // the system languages choose again
}

QString Sandbox::renew()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QTest::qVerify(m_dir->isValid(), "Sandbox", "no temporary folder", __FILE__, __LINE__);
    m_home = folder(m_dir->filePath(QStringLiteral("home")));
    useLanguage(AppLanguagePreference::english);
    return m_home;
}

QString Sandbox::path(const QString& relative) const
{
    return relative.isEmpty() ? m_dir->path() : m_dir->filePath(relative);
}

} // namespace SyntheticHome
