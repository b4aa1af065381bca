#include "clean/CleanWhitelistMatcher.h"

#include "platform/PathText.h"

#include <QRegularExpression>

namespace CleanWhitelistMatcher {
namespace {

const QString finderMetadataEntry = QStringLiteral("FINDER_METADATA");

bool isFinderMetadata(const QString& path)
{
    return path.endsWith(QLatin1String("/.DS_Store")) || path.contains(QLatin1String("/com.apple.finder/")) ||
           path.contains(QLatin1String("/com.apple.Finder/"));
}

// "$HOME" and "~" become the home text wherever they stand. One pass, so a "~" inside the home text
// itself is never expanded a second time.
QString expanded(const QString& entry, const QString& homeText)
{
    static const QRegularExpression homeMarker(QStringLiteral("\\$HOME|~"));
    QString result;
    qsizetype copiedUpTo = 0;
    for (auto it = homeMarker.globalMatch(entry); it.hasNext();) {
        const QRegularExpressionMatch marker = it.next();
        result += QStringView(entry).mid(copiedUpTo, marker.capturedStart() - copiedUpTo);
        result += homeText;
        copiedUpTo = marker.capturedEnd();
    }
    result += QStringView(entry).mid(copiedUpTo);
    return result;
}

} // namespace

bool isProtected(const QString& path, const QStringList& patterns, const QString& home)
{
    const QString candidate = PathText::standardized(path);
    const QString homeText = PathText::standardized(home);
    for (const QString& entry : patterns) {
        if (entry == finderMetadataEntry) {
            if (isFinderMetadata(candidate))
                return true;
            continue;
        }
        if (matchesGlob(expanded(entry, homeText), candidate))
            return true;
    }
    return false;
}

bool protectsSomethingBelow(const QString& folder, const QStringList& patterns, const QString& home)
{
    const QString below = PathText::standardized(folder) + QLatin1Char('/');
    const QString homeText = PathText::standardized(home);
    for (const QString& entry : patterns) {
        if (entry == finderMetadataEntry)
            continue;
        // The literal part before the first "*" names the deepest folder the entry is sure to be in.
        const QString expandedEntry = expanded(entry, homeText);
        const qsizetype star = expandedEntry.indexOf(QLatin1Char('*'));
        const QString literal = expandedEntry.left(star);
        if (literal.startsWith(below))
            return true;
        // A "*" inside a glob may stand for the folder's own name and more: it might match below.
        const bool isGlob = star >= 0 && star < expandedEntry.size() - 1;
        if (isGlob && below.startsWith(literal))
            return true;
    }
    return false;
}

bool matchesGlob(const QString& expandedEntry, const QString& standardizedPath)
{
    // A final "*" is a plain prefix: no separator is needed after it, and earlier "*" are literal.
    if (expandedEntry.endsWith(QLatin1Char('*')))
        return standardizedPath.startsWith(expandedEntry.chopped(1));
    // Compared as written: an entry with a trailing "/" matches nothing below it.
    if (!expandedEntry.contains(QLatin1Char('*')))
        return standardizedPath == expandedEntry ||
               standardizedPath.startsWith(expandedEntry + QLatin1Char('/'));

    QString pattern = QRegularExpression::escape(expandedEntry);
    pattern.replace(QStringLiteral("\\*"), QStringLiteral(".*"));
    const QRegularExpression glob(QLatin1Char('^') + pattern + QLatin1Char('$'));
    return glob.isValid() && glob.match(standardizedPath).hasMatch();
}

} // namespace CleanWhitelistMatcher
