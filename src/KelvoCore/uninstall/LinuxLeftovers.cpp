#include "uninstall/LinuxLeftovers.h"

#include "platform/ConfinedListing.h"
#include "vocabulary/NaturalOrder.h"
#include "vocabulary/PathText.h"

#include <QSet>

#include <algorithm>

namespace LinuxLeftovers {

namespace {

constexpr qsizetype shortestWord = 4;

// Words that many applications or folders are named with: matching one proves nothing.
const QSet<QString>& commonWords()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        for (const char* word :
             {"app",      "apps",     "application", "applications", "appimage",  "apple",     "autostart",
              "backup",   "backups",  "bin",         "cache",        "caches",    "code",      "config",
              "configs",  "data",     "default",     "desktop",      "documents", "downloads", "editor",
              "electron", "files",    "flatpak",     "fonts",        "game",      "games",     "gnome",
              "google",   "home",     "icons",       "java",         "jetbrains", "kde",       "launcher",
              "lib",      "local",    "logs",        "main",         "microsoft", "mime",      "mozilla",
              "music",    "node",     "nvidia",      "opt",          "pictures",  "player",    "plugins",
              "program",  "programs", "python",      "recent",       "run",       "runtime",   "server",
              "settings", "setup",    "share",       "state",        "steam",     "system",    "temp",
              "terminal", "test",     "tmp",         "tool",         "tools",     "trash",     "update",
              "updater",  "user",     "videos",      "viewer",       "web",       "xdg"})
            set.insert(QString::fromUtf8(word));
        return set;
    }();
    return words;
}

bool isIdentifierOf(const QString& fileName, const QString& identifier)
{
    return fileName.compare(identifier, Qt::CaseInsensitive) == 0 ||
           (fileName.size() > identifier.size() + 1 && fileName.at(identifier.size()) == u'.' &&
            fileName.startsWith(identifier, Qt::CaseInsensitive));
}

} // namespace

QStringList roots(const QString& home)
{
    QStringList paths;
    for (const char* relative : {".config", ".local/share", ".local/state", ".cache"})
        paths << PathText::joined(PathText::standardized(home), QString::fromUtf8(relative));
    return paths;
}

bool claimsNothing(const QString& word)
{
    return word.trimmed().size() < shortestWord || commonWords().contains(word.trimmed().toLower());
}

Claim claim(const QString& fileName, const Claimant& claimant)
{
    for (const QString& identifier : claimant.identifiers)
        if (!claimsNothing(identifier) && isIdentifierOf(fileName, identifier))
            return Claim::strong;
    for (const QString& name : claimant.names)
        if (!claimsNothing(name) && fileName.compare(name, Qt::CaseInsensitive) == 0)
            return Claim::possible;
    return Claim::none;
}

Listing::Listing(const QString& home, const RemovalPolicy::SharedFolders& shared, const QStringList& kept)
{
    for (const QString& root : roots(home)) {
        std::vector<FileWalker::Item> children = ConfinedListing::children(home, root);
        std::sort(children.begin(), children.end(), [](const FileWalker::Item& a, const FileWalker::Item& b) {
            return NaturalOrder::lessThan(a.name, b.name);
        });
        for (FileWalker::Item& item : children) {
            const bool holdsKept = std::any_of(kept.begin(), kept.end(), [&](const QString& path) {
                return PathText::isAtOrBelow(path, item.path);
            });
            if (!holdsKept && !shared.isShared(item.path) && !claimsNothing(item.name))
                m_items.push_back({std::move(item)});
        }
    }
}

int Listing::add(Claimant claimant)
{
    m_settled = false;
    m_claimants.push_back(std::move(claimant));
    return int(m_claimants.size()) - 1;
}

void Listing::settleClaims()
{
    for (Listed& listed : m_items) {
        listed.claimant = -1;
        listed.claim = Claim::none;
        for (int number = 0; number < int(m_claimants.size()); ++number) {
            const Claim found = claim(listed.item.name, m_claimants[std::size_t(number)]);
            if (found == Claim::none)
                continue;
            if (listed.claim != Claim::none) { // a second application could claim it: nobody's
                listed.claim = Claim::none;
                listed.claimant = -1;
                break;
            }
            listed.claim = found;
            listed.claimant = number;
        }
    }
    m_settled = true;
}

std::vector<UninstallPreviewReport::Leftover> Listing::leftovers(int claimant)
{
    if (!m_settled)
        settleClaims();
    std::vector<UninstallPreviewReport::Leftover> strong;
    std::vector<UninstallPreviewReport::Leftover> possible;
    for (Listed& listed : m_items) {
        if (listed.claimant != claimant)
            continue;
        if (!listed.allocatedBytes)
            listed.allocatedBytes = FileWalker::measure(listed.item).allocatedBytes;
        const bool isStrong = listed.claim == Claim::strong;
        (isStrong ? strong : possible)
            .push_back({listed.item.path, *listed.allocatedBytes,
                        isStrong ? UninstallPreviewReport::LeftoverMatch::strong
                                 : UninstallPreviewReport::LeftoverMatch::possible,
                        listed.item.identity});
    }
    strong.insert(strong.end(), possible.begin(), possible.end());
    return strong;
}

} // namespace LinuxLeftovers
