#include "uninstall/LinuxPrograms.h"

#include "platform/ConfinedPath.h"
#include "platform/DesktopEntry.h"
#include "vocabulary/PathText.h"

#include <sys/stat.h>

#include <algorithm>

namespace LinuxPrograms {

namespace {

// Judges the item at an absolute path below the home folder.
Program judged(const QString& path, const QString& home)
{
    if (path == home)
        return {Verdict::notProgram, path, std::nullopt};
    const ConfinedPath::Outcome reached = ConfinedPath::reach(home, path);
    if (!reached.item) {
        const bool link = reached.failure == ConfinedPath::Failure::throughLink;
        return {link ? Verdict::throughLink : Verdict::missing, path, std::nullopt};
    }
    const FileFacts& facts = reached.item->facts();
    if (facts.isLink())
        return {Verdict::throughLink, path, std::nullopt};
    if (!S_ISREG(facts.mode) || (facts.mode & 0111) == 0)
        return {Verdict::notProgram, path, std::nullopt};
    std::optional<FileWalker::Item> item = FileWalker::statItem(path);
    if (!item || item->identity != facts.identity)
        return {Verdict::missing, path, std::nullopt};
    return {Verdict::program, path, std::move(item)};
}

} // namespace

Program resolve(const QString& exec, const QString& home)
{
    const QString root = PathText::standardized(home);
    const std::optional<QString> word = DesktopEntry::program(exec, root);
    if (!word)
        return {};
    if (word->startsWith(u'/')) {
        const QString path = PathText::standardized(*word);
        return PathText::isAtOrBelow(path, root) ? judged(path, root) : Program{};
    }
    // PATH is searched for a bare name only; "." and ".." are folders, and "bin/x" would be relative to
    // whatever folder the launcher happens to run in.
    if (word->contains(u'/') || *word == QLatin1String(".") || *word == QLatin1String(".."))
        return {Verdict::notProgram, {}, std::nullopt};
    for (const char* folder : {".local/bin", "bin"}) {
        const QString path = PathText::joined(root, QString::fromUtf8(folder) + u'/' + *word);
        if (Program found = judged(path, root); found.verdict != Verdict::missing)
            return found;
    }
    return {};
}

QStringList applicationRoots(const QString& home)
{
    QStringList roots;
    for (const char* folder : {"opt", ".local/opt", "Applications", ".local/share", ".local/lib"})
        roots << PathText::joined(PathText::standardized(home), QString::fromUtf8(folder));
    return roots;
}

QString location(const QString& program, const QStringList& otherPrograms,
                 const RemovalPolicy::SharedFolders& shared, const QStringList& userFolders)
{
    const QString path = PathText::standardized(program);
    if (!PathText::isAtOrBelow(path, shared.home()) || path == shared.home())
        return {};
    // Below the user's own folders a folder is the user's, whatever program it holds.
    if (PathText::isAtOrBelowAny(path, userFolders))
        return path;
    QString root;
    for (const QString& candidate : applicationRoots(shared.home()))
        if (PathText::isAtOrBelow(path, candidate) && candidate.size() > root.size())
            root = candidate;
    if (root.isEmpty())
        return path; // ~/.local/bin/tool, ~/code/x/tool: the folder around it may hold far more
    const QStringList below = path.mid(root.size() + 1).split(u'/');
    for (qsizetype depth = 1; depth < below.size(); ++depth) {
        const QString folder = PathText::joined(root, below.first(depth).join(u'/'));
        const bool holdsAnother =
            std::any_of(otherPrograms.begin(), otherPrograms.end(), [&](const QString& other) {
                return other != path && PathText::isAtOrBelow(other, folder);
            });
        if (!shared.isShared(folder) && !holdsAnother)
            return folder;
    }
    return path;
}

} // namespace LinuxPrograms
