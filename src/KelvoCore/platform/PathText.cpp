#include "platform/PathText.h"

#include <QDir>

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

} // namespace PathText
