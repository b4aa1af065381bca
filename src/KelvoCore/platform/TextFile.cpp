#include "platform/TextFile.h"

#include "platform/ConfinedPath.h"
#include "platform/FileErrorText.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/PathText.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TextFile {

namespace {

[[noreturn]] void cannotRead(const QString& path, const QString& why)
{
    throw KelvoError(KelvoError::Kind::unreadable, FileErrorText::cannotRead(path, why));
}

QByteArray readRegularFile(const QString& path, qint64 maxBytes)
{
    // O_NONBLOCK: opening a FIFO with no writer must not wait for one.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        cannotRead(path, errno == EISDIR ? FileErrorText::isFolder() : FileErrorText::reason(errno));
    struct stat info;
    if (fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        cannotRead(path, FileErrorText::reason(error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        cannotRead(path, S_ISDIR(info.st_mode) ? FileErrorText::isFolder() : FileErrorText::notRegularFile());
    }
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            const int error = errno;
            ::close(fd);
            cannotRead(path, FileErrorText::reason(error));
        }
        if (count == 0)
            break;
        bytes.append(buffer, count);
        // A file that grows while it is read stops at the limit all the same.
        if (bytes.size() > maxBytes) {
            ::close(fd);
            cannotRead(path, FileErrorText::largerThan(maxBytes));
        }
    }
    ::close(fd);
    return bytes;
}

} // namespace

QString readUtf8(const QString& path, qint64 maxBytes)
{
    const QByteArray bytes = readRegularFile(path, maxBytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    // Name the first line that is not UTF-8, so the user knows where to look.
    const QList<QByteArray> byteLines = bytes.split('\n');
    for (qsizetype line = 0; line < byteLines.size(); ++line) {
        QStringDecoder lineDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        // With its line feed, so a sequence cut short at the end of the line shows as one.
        // (decode() is lazy: the text must be taken for the bytes to be read.)
        const QString decoded = lineDecoder.decode(byteLines[line] + '\n');
        if (lineDecoder.hasError())
            throw KelvoError(KelvoError::Kind::corruptList, FileErrorText::notUtf8(path, line + 1));
    }
    throw KelvoError(KelvoError::Kind::corruptList, FileErrorText::notUtf8(path, byteLines.size()));
}

std::optional<QString> readListFile(const QString& path)
{
    struct stat info;
    if (lstat(QFile::encodeName(path).constData(), &info) != 0 && errno == ENOENT)
        return std::nullopt;
    return readUtf8(path, listFileMaxBytes);
}

void writeUtf8Atomically(const QString& root, const QString& path, const QString& text)
{
    const QString target = PathText::standardized(path);
    const ConfinedPath::FolderOutcome reached =
        ConfinedPath::reachFolder(root, QFileInfo(target).path(), ConfinedPath::Missing::create);
    if (!reached.folder)
        throw KelvoError(KelvoError::Kind::unwritable,
                         FileErrorText::cannotWrite(target, ConfinedPath::describe(reached, root)));
    QByteArray bytes = text.toUtf8();
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    if (const int error = reached.folder->writeFile(QFile::encodeName(QFileInfo(target).fileName()), source))
        throw KelvoError(KelvoError::Kind::unwritable,
                         FileErrorText::cannotWrite(
                             target, error == ELOOP ? FileErrorText::isLink(PathText::fromHome(target, root))
                                                    : FileErrorText::reason(error)));
}

QStringList lines(const QString& text)
{
    static const QRegularExpression lineBreak(
        QStringLiteral("[\\n\\r\\x{000B}\\x{000C}\\x{0085}\\x{2028}\\x{2029}]"));
    return text.split(lineBreak);
}

} // namespace TextFile
