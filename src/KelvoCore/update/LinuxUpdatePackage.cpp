#include "update/LinuxUpdatePackage.h"

#include "platform/FileErrorText.h"
#include "platform/PathText.h"
#include "platform/ToolRunner.h"
#include "update/UpdateInstallerText.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <chrono>

namespace {

using namespace std::chrono_literals;

const QString tar = QStringLiteral("/usr/bin/tar");

// An archive member that would be written outside the folder it is unpacked into.
bool escapes(const QString& member)
{
    return member.startsWith(u'/') || member.split(u'/').contains(QStringLiteral(".."));
}

// The places Kelvo's own files have in an installation; a package holding anything else is refused
// rather than allowed to write it.
bool isKelvoFile(const QString& relative)
{
    const QString name = QFileInfo(relative).fileName();
    return relative == u"bin/kelvo" || relative.startsWith(u"share/doc/kelvo/") ||
           ((relative.startsWith(u"share/applications/") || relative.startsWith(u"share/icons/")) &&
            name.startsWith(u"kelvo"));
}

void listAndCheck(const QString& package)
{
    const ToolRunner::Result listing = ToolRunner::run({tar, {QStringLiteral("-tzf"), package}, 120s});
    if (!listing.succeeded())
        throw KelvoError(UpdateInstallerText::packageUnreadable(package));
    for (const QString& member : QString::fromUtf8(listing.standardOutput).split(u'\n', Qt::SkipEmptyParts))
        if (escapes(member))
            throw KelvoError(UpdateInstallerText::unsafeEntry(member));
}

void extract(const QString& package, const QString& into)
{
    if (!QDir().mkdir(into))
        throw KelvoError(FileErrorText::cannotCreateFolder(into));
    const ToolRunner::Result unpacked = ToolRunner::run(
        {tar,
         {QStringLiteral("-xzf"), package, QStringLiteral("-C"), into, QStringLiteral("--no-same-owner")},
         300s});
    if (!unpacked.succeeded())
        throw KelvoError(UpdateInstallerText::packageUnreadable(package));
}

// Every item below `into`, links not followed: links must resolve inside it, only folders, files and
// links may be there, and the files must be Kelvo's. Returns the files and links, relative to top.
QStringList checkedFiles(const QString& into, const QString& top)
{
    const QString realRoot = QFileInfo(into).canonicalFilePath();
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
            if (resolved.isEmpty() || !PathText::isAtOrBelow(resolved, realRoot))
                throw KelvoError(UpdateInstallerText::unsafeEntry(relative));
        } else if (item.isDir()) {
            continue;
        }
        const QString inPackage = QDir(top).relativeFilePath(item.filePath());
        if (!(item.isFile() || item.isSymLink()) || !isKelvoFile(inPackage))
            throw KelvoError(UpdateInstallerText::foreignEntry(relative));
        files.append(inPackage);
    }
    files.sort();
    files.removeOne(QStringLiteral("bin/kelvo"));
    files.prepend(QStringLiteral("bin/kelvo"));
    return files;
}

} // namespace

namespace LinuxUpdatePackage {

Unpacked unpack(const QString& package, const QString& into)
{
    listAndCheck(package);
    extract(package, into);

    const QFileInfoList top =
        QDir(into).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (top.size() != 1 || top.first().isSymLink() || !top.first().isDir())
        throw KelvoError(UpdateInstallerText::noProgram(package));
    const QString root = top.first().filePath();
    const QFileInfo program(root + QStringLiteral("/bin/kelvo"));
    if (program.isSymLink() || !program.isFile() || !program.isExecutable())
        throw KelvoError(UpdateInstallerText::noProgram(package));
    return {root, checkedFiles(into, root)};
}

} // namespace LinuxUpdatePackage
