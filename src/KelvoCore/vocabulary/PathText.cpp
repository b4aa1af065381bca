#include "vocabulary/PathText.h"

#include <QByteArrayView>
#include <QDir>

#include <algorithm>

namespace PathText {

QString standardized(const QString& path)
{
    // cleanPath is purely lexical: it never consults the file system, so links stay unresolved.
    QString clean = QDir::cleanPath(path);
    // It keeps ".." that climbs above the root; nothing is above the root.
    while (clean.startsWith(QLatin1String("/../")))
        clean.remove(0, 3);
    if (clean == QLatin1String("/.."))
        clean = QStringLiteral("/");
    return clean;
}

bool isAtOrBelow(const QString& path, const QString& root)
{
    if (path == root)
        return true;
    if (root.endsWith(QLatin1Char('/')))
        return path.startsWith(root);
    return path.size() > root.size() && path.startsWith(root) && path.at(root.size()) == QLatin1Char('/');
}

bool isAtOrBelowAny(const QString& path, const QStringList& roots)
{
    return std::any_of(roots.begin(), roots.end(),
                       [&](const QString& root) { return isAtOrBelow(path, root); });
}

QString joined(const QString& base, const QString& relative)
{
    return base.endsWith(QLatin1Char('/')) ? base + relative : base + QLatin1Char('/') + relative;
}

QString fromHome(const QString& path, const QString& home)
{
    const QString target = standardized(path);
    const QString homeText = standardized(home);
    if (!QDir::isAbsolutePath(homeText) || homeText == QLatin1String("/") || !isAtOrBelow(target, homeText))
        return target;
    return QLatin1Char('~') + target.mid(homeText.size());
}

// Latin-1 turns each byte into one character and back, so the rules above see the same "/", "." and
// ".." (UTF-8 never uses those bytes inside a character) without decoding a name.
QByteArray standardized(const QByteArray& path)
{
    return standardized(QString::fromLatin1(path)).toLatin1();
}

bool isAtOrBelow(const QByteArray& path, const QByteArray& root)
{
    return isAtOrBelow(QString::fromLatin1(path), QString::fromLatin1(root));
}

QByteArray joined(const QByteArray& base, const QByteArray& relative)
{
    return base.endsWith('/') ? base + relative : base + '/' + relative;
}

QString shown(const QByteArray& path)
{
    QString text;
    text.reserve(path.size());
    for (qsizetype i = 0; i < path.size();) {
        const auto lead = uchar(path[i]);
        const qsizetype length = lead < 0x80   ? 1
                                 : lead < 0xC2 ? 0
                                 : lead < 0xE0 ? 2
                                 : lead < 0xF0 ? 3
                                 : lead < 0xF5 ? 4
                                               : 0;
        const QByteArrayView sequence = QByteArrayView(path).sliced(i, std::min(length, path.size() - i));
        if (length == 0 || sequence.size() < length || !sequence.isValidUtf8()) {
            text += QStringLiteral("\\x") +
                    QString::number(lead, 16).toUpper().rightJustified(2, QLatin1Char('0'));
            ++i;
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (qsizetype k = 1; k < length; ++k)
            code = (code << 6) | (uchar(sequence[k]) & 0x3F);
        text += QString::fromUcs4(&code, 1);
        i += length;
    }
    return text;
}

} // namespace PathText
