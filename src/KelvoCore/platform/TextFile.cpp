#include "platform/TextFile.h"

#include "platform/FileErrorText.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

namespace TextFile {

QString readUtf8(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw KelvoError(FileErrorText::cannotRead(path, file.error()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw KelvoError(FileErrorText::cannotRead(path, file.error()));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw KelvoError(FileErrorText::notUtf8(path));
    return text;
}

void writeUtf8Atomically(const QString& path, const QString& text)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw KelvoError(FileErrorText::cannotCreateFolder(folder));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw KelvoError(FileErrorText::cannotWrite(path, file.error()));
    file.write(text.toUtf8());
    if (!file.commit())
        throw KelvoError(FileErrorText::cannotWrite(path, file.error()));
}

QStringList lines(const QString& text)
{
    static const QRegularExpression lineBreak(
        QStringLiteral("[\\n\\r\\x{000B}\\x{000C}\\x{0085}\\x{2028}\\x{2029}]"));
    return text.split(lineBreak);
}

} // namespace TextFile
