#include "update/LinuxUpdatePackage.h"

#include "platform/FileErrorText.h"
#include "platform/ToolRunner.h"
#include "update/UpdateInstallerText.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/PathText.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <chrono>

namespace {

using namespace std::chrono_literals;

const QString tar = QStringLiteral("/usr/bin/tar");

// An archive member that would be written outside the folder it is unpacked into.
bool escapes(const QString& member)
{
    return member.startsWith(u'/') || member.split(u'/').contains(QStringLiteral(".."));
}

// The command line, which starts the window's program when it is given no command.
const QStringList programs{QStringLiteral("bin/kelvo"), QStringLiteral("bin/kelvo-window")};

// The places Kelvo's own files have in an installation; a package holding anything else is refused
// rather than allowed to write it.
bool isKelvoFile(const QString& relative)
{
    const QString name = QFileInfo(relative).fileName();
    return programs.contains(relative) || relative.startsWith(u"share/doc/kelvo/") ||
           ((relative.startsWith(u"share/applications/") || relative.startsWith(u"share/icons/")) &&
            name.startsWith(u"kelvo"));
}

// Unpacked, a package may take at most this many times its own size, and never more than the cap: a
// package of zeros would otherwise fill the disk before anything could look at it.
constexpr qint64 expansionLimit = 20;
constexpr qint64 unpackedCap = qint64(1) << 30;

QStringList listingLines(const QStringList& arguments, const QString& package)
{
    const ToolRunner::Result listing = ToolRunner::run({tar, arguments, 120s});
    if (!listing.succeeded())
        throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::packageUnreadable(package));
    return QString::fromUtf8(listing.standardOutput).split(u'\n', Qt::SkipEmptyParts);
}

// The text after the first `count` blank-separated fields of a line; null when it has fewer.
QString afterFields(const QString& line, int count)
{
    qsizetype at = 0;
    for (int field = 0; field < count; ++field) {
        while (at < line.size() && line[at] == u' ')
            ++at;
        if (at == line.size())
            return {};
        at = line.indexOf(u' ', at);
        if (at < 0)
            return {};
    }
    return line.mid(at + 1);
}

// Whether a link at `member` to `target` leads strictly inside the package's top folder, judged from
// the names alone and at every step: a path that leaves the top folder and comes back would lead
// elsewhere once the files sit in the installation, whose folder has another name.
bool leadsInside(const QString& member, const QString& target)
{
    if (target.isEmpty() || target.startsWith(u'/'))
        return false;
    QStringList path = member.split(u'/', Qt::SkipEmptyParts);
    path.removeAll(QStringLiteral("."));
    if (path.size() < 2)
        return false; // the top folder itself, or something beside it
    path.removeLast();
    for (const QString& part : target.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..")
            path.removeLast();
        else if (part != u".")
            path.append(part);
        if (path.isEmpty())
            return false;
    }
    return path.size() > 1;
}

// Checks the archive from tar's two listings before anything is unpacked.
void listAndCheck(const QString& package)
{
    const QStringList names = listingLines({QStringLiteral("-tzf"), package}, package);
    // The names come from the plain listing, so a name holding " -> " is never mistaken for a link.
    const QStringList details =
        listingLines({QStringLiteral("--numeric-owner"), QStringLiteral("-tvzf"), package}, package);
    LinuxUpdatePackage::checkListing(names, details, QFileInfo(package).size(), package);
}

void extract(const QString& package, const QString& into)
{
    if (!QDir().mkdir(into))
        throw KelvoError(KelvoError::Kind::unwritable, FileErrorText::cannotCreateFolder(into));
    const ToolRunner::Result unpacked =
        ToolRunner::run({tar,
                         {QStringLiteral("-xzf"), package, QStringLiteral("-C"), into,
                          QStringLiteral("--no-same-owner"), QStringLiteral("--no-same-permissions")},
                         300s});
    if (!unpacked.succeeded())
        throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::packageUnreadable(package));
}

// Every item below `into`, links not followed: links must resolve strictly inside the top folder (a
// link through another link is judged here by where it really ends), only folders, files and links
// may be there, and the files must be Kelvo's. Returns the files and links, relative to top.
QStringList checkedFiles(const QString& into, const QString& top)
{
    const QString realTop = QFileInfo(top).canonicalFilePath();
    QStringList files;
    QDirIterator walk(into, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QFileInfo item(walk.next());
        const QString relative = QDir(into).relativeFilePath(item.filePath());
        if (item.isSymLink()) {
            // canonicalFilePath resolves every link on the way, so a chain of links is judged by where it
            // ends.
            const QString resolved = item.canonicalFilePath();
            if (resolved.isEmpty() || resolved == realTop || !PathText::isAtOrBelow(resolved, realTop))
                throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::unsafeEntry(relative));
        } else if (item.isDir()) {
            continue;
        }
        const QString inPackage = QDir(top).relativeFilePath(item.filePath());
        if (!(item.isFile() || item.isSymLink()) || !isKelvoFile(inPackage))
            throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::foreignEntry(relative));
        files.append(inPackage);
    }
    files.sort();
    files.removeOne(QStringLiteral("bin/kelvo"));
    files.prepend(QStringLiteral("bin/kelvo"));
    return files;
}

} // namespace

namespace LinuxUpdatePackage {

void checkListing(const QStringList& names, const QStringList& details, qint64 packageSize,
                  const QString& package)
{
    if (details.size() != names.size())
        throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::packageUnreadable(package));
    const qint64 allowed =
        std::min(unpackedCap, expansionLimit * std::clamp(packageSize, qint64(0), unpackedCap));
    qint64 unpacked = 0;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& member = names[i];
        if (member.isEmpty() || details[i].isEmpty())
            throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::packageUnreadable(package));
        if (escapes(member))
            throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::unsafeEntry(member));
        const QChar kind = details[i].front();
        if (kind != u'-' && kind != u'd' && kind != u'l')
            throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::specialEntry(member));
        const QString rest = afterFields(details[i], 5);
        const QString arrow = kind == u'l' ? QStringLiteral(" -> ") : QString();
        if (!rest.startsWith(member + arrow) || (arrow.isEmpty() && rest != member))
            throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::packageUnreadable(package));
        if (kind == u'l' && !leadsInside(member, rest.mid(member.size() + arrow.size())))
            throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::unsafeEntry(member));
        bool number = kind != u'-';
        const qint64 size =
            number ? 0 : details[i].section(u' ', 2, 2, QString::SectionSkipEmpty).toLongLong(&number);
        if (!number || size < 0)
            throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::packageUnreadable(package));
        unpacked += std::min(size, allowed + 1); // a size beyond the allowed one cannot overflow the sum
        if (unpacked > allowed)
            throw KelvoError(KelvoError::Kind::badPackage,
                             UpdateInstallerText::packageTooLarge(package, allowed));
    }
}

Unpacked unpack(const QString& package, const QString& into)
{
    listAndCheck(package);
    extract(package, into);

    const QFileInfoList top =
        QDir(into).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (top.size() != 1 || top.first().isSymLink() || !top.first().isDir())
        throw KelvoError(KelvoError::Kind::badPackage,
                         UpdateInstallerText::noProgram(package, QStringLiteral("bin/kelvo")));
    const QString root = top.first().filePath();
    for (const QString& name : programs) {
        const QFileInfo program(root + u'/' + name);
        if (program.isSymLink() || !program.isFile() || !program.isExecutable())
            throw KelvoError(KelvoError::Kind::badPackage, UpdateInstallerText::noProgram(package, name));
    }
    return {root, checkedFiles(into, root)};
}

} // namespace LinuxUpdatePackage
