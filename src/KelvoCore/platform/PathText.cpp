#include "platform/PathText.h"

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

} // namespace PathText
