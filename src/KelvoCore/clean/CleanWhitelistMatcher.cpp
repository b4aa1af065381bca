#include "clean/CleanWhitelistMatcher.h"

#include "platform/PathText.h"

#include <algorithm>

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

// A "*" before the end makes a glob over the whole path; the other forms need no expression.
std::optional<QRegularExpression> compiledGlob(const QString& expandedEntry)
{
    if (expandedEntry.endsWith(QLatin1Char('*')) || !expandedEntry.contains(QLatin1Char('*')))
        return std::nullopt;
    QString pattern = QRegularExpression::escape(expandedEntry);
    pattern.replace(QStringLiteral("\\*"), QStringLiteral(".*"));
    return QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$'));
}

bool matches(const QString& expandedEntry, const std::optional<QRegularExpression>& glob,
             const QString& standardizedPath)
{
    if (glob)
        return glob->isValid() && glob->match(standardizedPath).hasMatch();
    // A final "*" is a plain prefix: no separator is needed after it, and earlier "*" are literal.
    if (expandedEntry.endsWith(QLatin1Char('*')))
        return standardizedPath.startsWith(expandedEntry.chopped(1));
    // Compared as written: an entry with a trailing "/" matches nothing below it.
    return standardizedPath == expandedEntry || standardizedPath.startsWith(expandedEntry + QLatin1Char('/'));
}

} // namespace

List::List(const QStringList& patterns, const QString& home)
{
    const QString homeText = PathText::standardized(home);
    for (const QString& entry : patterns) {
        if (entry == finderMetadataEntry) {
            m_entries.push_back({true, {}, std::nullopt});
            continue;
        }
        const QString expandedEntry = expanded(entry, homeText);
        m_entries.push_back({false, expandedEntry, compiledGlob(expandedEntry)});
    }
}

bool List::isProtected(const QString& path) const
{
    const QString candidate = PathText::standardized(path);
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
        return entry.finderMetadata ? isFinderMetadata(candidate)
                                    : matches(entry.expanded, entry.glob, candidate);
    });
}

bool List::protectsSomethingBelow(const QString& folder) const
{
    const QString below = PathText::standardized(folder) + QLatin1Char('/');
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
        if (entry.finderMetadata)
            return false;
        // The literal part before the first "*" names the deepest folder the entry is sure to be in.
        const qsizetype star = entry.expanded.indexOf(QLatin1Char('*'));
        const QString literal = entry.expanded.left(star);
        if (literal.startsWith(below))
            return true;
        // A "*" inside a glob may stand for the folder's own name and more: it might match below.
        const bool isGlob = star >= 0 && star < entry.expanded.size() - 1;
        return isGlob && below.startsWith(literal);
    });
}

bool isProtected(const QString& path, const QStringList& patterns, const QString& home)
{
    return List(patterns, home).isProtected(path);
}

bool protectsSomethingBelow(const QString& folder, const QStringList& patterns, const QString& home)
{
    return List(patterns, home).protectsSomethingBelow(folder);
}

bool matchesGlob(const QString& expandedEntry, const QString& standardizedPath)
{
    return matches(expandedEntry, compiledGlob(expandedEntry), standardizedPath);
}

} // namespace CleanWhitelistMatcher
