#include "clean/CleanWhitelistMatcher.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/PathText.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace CleanWhitelistMatcher {
namespace {

const QString finderMetadataEntry = QStringLiteral("FINDER_METADATA");
const QString homeVariable = QStringLiteral("$HOME");

// A ".DS_Store" and what is below it (it is a file, but a folder of that name is kept whole too), and
// what lies inside the Finder's folders.
bool isFinderMetadata(const QString& path)
{
    return path.endsWith(QLatin1String("/.DS_Store")) || path.contains(QLatin1String("/.DS_Store/")) ||
           path.contains(QLatin1String("/com.apple.finder/")) ||
           path.contains(QLatin1String("/com.apple.Finder/"));
}

// The pattern that matches what lies below a match of expanded, when that is more than expanded
// matches itself: none for a plain path (compared as a path) and for a final "*" (it covers it).
QString belowPattern(const QString& expanded)
{
    if (!expanded.contains(QLatin1Char('*')) || expanded.endsWith(QLatin1Char('*')))
        return {};
    return expanded + QStringLiteral("/*");
}

bool entryMatches(const QString& expanded, const QString& below, const QString& path)
{
    if (!expanded.contains(QLatin1Char('*')))
        return PathText::isAtOrBelow(path, expanded);
    return wildcardMatch(expanded, path) || (!below.isEmpty() && wildcardMatch(below, path));
}

// "~" only as the whole first component ("~user" and a "~" inside a name, as in "com~apple~CloudDocs",
// are names), "$HOME" wherever it stands.
QString expanded(const QString& entry, const QString& homeText)
{
    QString result = entry;
    if (result == QLatin1String("~") || result.startsWith(QLatin1String("~/")))
        result.replace(0, 1, homeVariable);
    return result.replace(homeVariable, homeText);
}

} // namespace

QString normalizedEntry(const QString& entry)
{
    if (entry == finderMetadataEntry || entry.startsWith(QLatin1Char('#')))
        return entry;
    static const QRegularExpression doubledSeparators(QStringLiteral("/{2,}"));
    static const QRegularExpression dotSegments(QStringLiteral("/\\.(?=/|$)"));
    QString result = entry;
    result.replace(QStringLiteral("${HOME}"), homeVariable);
    result.replace(doubledSeparators, QStringLiteral("/"));
    result.replace(dotSegments, QString());
    if (result.isEmpty() && entry.startsWith(QLatin1Char('/')))
        return QStringLiteral("/"); // "/." and the like: the root
    if (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result;
}

bool wildcardMatch(QStringView pattern, QStringView text)
{
    // The greedy two-pointer match: on a mismatch, let the last "*" swallow one more character.
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype star = -1;
    qsizetype resumeAt = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            star = p++;
            resumeAt = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (star >= 0) {
            p = star + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

bool matchesGlob(const QString& expandedEntry, const QString& standardizedPath)
{
    return entryMatches(expandedEntry, belowPattern(expandedEntry), standardizedPath);
}

EntryProblem problemOf(const QString& entry, const QString& home)
{
    const QString meant = normalizedEntry(entry.trimmed());
    if (meant == finderMetadataEntry || meant.startsWith(QLatin1Char('#')))
        return EntryProblem::none;
    const QString full = expanded(meant, PathText::standardized(home));
    if (!full.startsWith(QLatin1Char('/')) && !full.startsWith(QLatin1Char('*')))
        return EntryProblem::notFullPath;
    if (meant.split(QLatin1Char('/')).contains(QLatin1String("..")))
        return EntryProblem::climbsUp;
    return EntryProblem::none;
}

std::vector<EntryProblem> problemsOf(const QStringList& entries, const QString& home)
{
    std::vector<EntryProblem> problems;
    QSet<QString> seen;
    for (const QString& entry : entries) {
        const QString meant = normalizedEntry(entry.trimmed());
        const EntryProblem own = problemOf(meant, home);
        problems.push_back(own == EntryProblem::none && seen.contains(meant) ? EntryProblem::duplicate : own);
        seen.insert(meant);
    }
    return problems;
}

std::optional<QString> problemText(EntryProblem problem)
{
    switch (problem) {
    case EntryProblem::notFullPath:
        return AppLocalization::localized(
            QStringLiteral("不是完整路径：不会匹配任何位置。请以 /、~/ 或 $HOME/ 开头。"),
            QStringLiteral("Not a full path: never matches. Begin it with /, ~/ or $HOME/."));
    case EntryProblem::climbsUp:
        return AppLocalization::localized(
            QStringLiteral("含有 “..”：不会匹配任何位置。请写出文件夹本身的路径。"),
            QStringLiteral("Holds “..”: never matches. Write the folder's own path."));
    case EntryProblem::duplicate:
        return AppLocalization::localized(QStringLiteral("与前面的一行重复：保存时会去掉。"),
                                          QStringLiteral("Repeats an earlier line: dropped when saved."));
    case EntryProblem::none:
        break;
    }
    return std::nullopt;
}

std::optional<QString> whyNotHonoured(const QString& meantEntry, const QString& home)
{
    const EntryProblem problem = problemOf(meantEntry, home);
    if (problem == EntryProblem::none || problem == EntryProblem::duplicate)
        return std::nullopt;
    return QStringLiteral("“%1” — %2").arg(meantEntry, *problemText(problem));
}

List::List(const QStringList& patterns, const QString& home)
{
    const QString homeText = PathText::standardized(home);
    // An entry may name the home folder by its real path when the given one is a link.
    const QString realHome = QFileInfo(homeText).canonicalFilePath();
    for (const QString& pattern : patterns) {
        const QString entry = normalizedEntry(pattern.trimmed());
        if (entry == finderMetadataEntry) {
            m_entries.push_back({true, {}, {}});
            continue;
        }
        const QString expandedEntry = expanded(entry, homeText);
        add(expandedEntry);
        if (realHome.isEmpty() || realHome == homeText)
            continue;
        // Paths are built from the given home; an entry written with the real one covers them too.
        const bool underRealHome =
            expandedEntry == realHome || (expandedEntry.startsWith(realHome) &&
                                          QStringLiteral("/*").contains(expandedEntry.at(realHome.size())));
        if (underRealHome)
            add(homeText + expandedEntry.mid(realHome.size()));
    }
}

void List::add(const QString& expanded)
{
    m_entries.push_back({false, expanded, belowPattern(expanded)});
}

bool List::Entry::matches(const QString& path) const
{
    return finderMetadata ? isFinderMetadata(path) : entryMatches(expanded, below, path);
}

bool List::isProtected(const QString& path) const
{
    return protectsStandardized(PathText::standardized(path));
}

bool List::protectsStandardized(const QString& path) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const Entry& entry) { return entry.matches(path); });
}

List List::within(const QString& folder) const
{
    List narrowed;
    for (const Entry& entry : m_entries) {
        // A path below folder starts with folder; an entry matches only paths that start with its
        // text before the first "*" (a "*" may stand for any run, "/" included, and what lies below a
        // match starts with the match), so one of the two must begin with the other.
        const QString literal = entry.expanded.left(entry.expanded.indexOf(QLatin1Char('*')));
        if (entry.finderMetadata || literal.startsWith(folder) || folder.startsWith(literal))
            narrowed.m_entries.push_back(entry);
    }
    return narrowed;
}

bool List::mayProtectInside(const QString& folder) const
{
    const QString inside = folder + QLatin1Char('/');
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
        if (entry.finderMetadata) // inside the Finder's folders or a ".DS_Store" folder; else by name
            return isFinderMetadata(inside);
        const QString literal = entry.expanded.left(entry.expanded.indexOf(QLatin1Char('*')));
        return literal.startsWith(folder) || folder.startsWith(literal);
    });
}

bool List::mayProtectByName(QByteArrayView name) const
{
    return name == QByteArrayView(".DS_Store") &&
           std::any_of(m_entries.begin(), m_entries.end(),
                       [](const Entry& entry) { return entry.finderMetadata; });
}

bool isProtected(const QString& path, const QStringList& patterns, const QString& home)
{
    return List(patterns, home).isProtected(path);
}

} // namespace CleanWhitelistMatcher
