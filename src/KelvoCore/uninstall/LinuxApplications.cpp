#include "uninstall/LinuxApplications.h"

#include "platform/ConfinedListing.h"
#include "platform/DesktopEntry.h"
#include "platform/FileWalker.h"
#include "platform/RemovalPolicy.h"
#include "platform/TextFile.h"
#include "platform/UserDirs.h"
#include "uninstall/LinuxIcons.h"
#include "uninstall/LinuxLeftovers.h"
#include "uninstall/LinuxPrograms.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/PathText.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>

#include <map>

namespace LinuxApplications {

namespace {

const QString appImageSuffix = QStringLiteral(".AppImage");
const QString desktopSuffix = QStringLiteral(".desktop");
constexpr qint64 desktopEntryMaxBytes = 1024 * 1024;

using Verdict = LinuxPrograms::Verdict;

// An application as the scan puts it together: an AppImage, a program with its desktop entries, or a
// desktop entry without a program.
struct Found {
    FileWalker::Item item; // what is moved to the Trash
    QString name;
    QString chineseName;
    LocalText source;
    std::optional<QString> icon;
    std::optional<QDateTime> lastOpened;
    LinuxLeftovers::Claimant claimant = {}; // what it goes by; nothing for an entry overriding another app's
    std::vector<UninstallPreviewReport::Leftover> entries = {}; // its desktop and autostart entries
    bool hasDesktopEntry = false;
    bool hasProgram = true; // false: its leftovers are only ever possible ones
};

// A desktop entry of the user's folder, read.
struct UserEntry {
    FileWalker::Item file;
    DesktopEntry::Entry entry;
    QString id; // the file name without ".desktop"
    LinuxPrograms::Program program;
};

std::optional<QDateTime> usedAt(qint64 secondsSinceEpoch)
{
    if (secondsSinceEpoch <= 0)
        return std::nullopt;
    return QDateTime::fromSecsSinceEpoch(secondsSinceEpoch, QTimeZone::utc());
}

UninstallPreviewReport::Leftover leftoverOf(const FileWalker::Item& item)
{
    return {item.path, FileWalker::measure(item).allocatedBytes,
            UninstallPreviewReport::LeftoverMatch::strong, item.identity};
}

std::optional<DesktopEntry::Entry> readEntry(const QString& path)
{
    try {
        return DesktopEntry::parse(TextFile::readUtf8(path, desktopEntryMaxBytes));
    } catch (const KelvoError&) {
        return std::nullopt; // an entry that cannot be read tells nothing about an app
    }
}

bool isEntryFile(const FileWalker::Item& item)
{
    return item.name.endsWith(desktopSuffix) && item.name.size() > desktopSuffix.size();
}

// What an entry without a program shows instead of where its program comes from.
LocalText markFor(Verdict verdict)
{
    switch (verdict) {
    case Verdict::missing:
        return {QStringLiteral("程序已不存在"), QStringLiteral("Program missing")};
    case Verdict::throughLink:
        return {QStringLiteral("程序经由链接"), QStringLiteral("Program behind a link")};
    default:
        return {QStringLiteral("不是程序"), QStringLiteral("Not a program")};
    }
}

class Scan {
public:
    Scan(const QString& home, const Options& options)
        : m_home(PathText::standardized(home))
        , m_userFolders(UserDirs::read(m_home).all())
        , m_shared(m_home, m_userFolders)
        , m_options(options)
    {
    }

    UninstallPreviewReport run()
    {
        for (const QString& folder : m_options.appImageFolders.value_or(appImageFolders(m_home)))
            addAppImages(folder);
        readSystemApplications();
        const FlatpakTool::Listing flatpaks =
            FlatpakTool::list(m_options.flatpakTool, m_options.flatpakTimeLimit);
        for (const FlatpakTool::App& app : flatpaks.apps)
            m_systemIDs.insert(app.id);
        const std::vector<UserEntry> entries = readUserEntries();
        QStringList programs; // every program an entry or AppImage names in the home folder
        for (const auto& [path, found] : m_found)
            programs << path;
        for (const UserEntry& entry : entries)
            if (!entry.program.path.isEmpty())
                programs << entry.program.path;
        for (const UserEntry& entry : entries)
            addDesktopEntry(entry, programs);

        // Everything an application is made of belongs to it and is nobody's leftover.
        QStringList kept = programs;
        for (const auto& [path, found] : m_found) {
            kept << path;
            for (const UninstallPreviewReport::Leftover& entry : found.entries)
                kept << entry.path;
        }
        for (const FlatpakTool::App& app : flatpaks.apps)
            kept << flatpakLocation(app.id);
        LinuxLeftovers::Listing listing(m_home, m_shared, kept);
        for (const LinuxLeftovers::Claimant& claimant : m_systemClaimants)
            listing.add(claimant);
        for (const FlatpakTool::App& app : flatpaks.apps)
            listing.add({{app.id}, {app.name, app.id.section(u'.', -1)}});
        std::vector<std::pair<Found*, int>> claimed;
        for (auto& [path, found] : m_found)
            claimed.emplace_back(&found, listing.add(found.claimant));

        std::vector<UninstallPreviewReport::Entry> found;
        for (auto& [app, number] : claimed)
            found.push_back(entryFor(*app, listing.leftovers(number)));
        for (const FlatpakTool::App& app : flatpaks.apps)
            found.push_back(flatpakEntry(app));
        UninstallPreviewReport report(std::move(found));
        if (flatpaks.note)
            report.notes << *flatpaks.note;
        return report;
    }

private:
    void addAppImages(const QString& folder)
    {
        for (const FileWalker::Item& item : ConfinedListing::children(m_home, folder))
            if (item.kind == FileWalker::Kind::file && isAppImageName(item.name) &&
                !m_found.contains(item.path)) {
                Found found{item,         appImageName(item.name),
                            {},           LocalText::same(QStringLiteral("AppImage")),
                            std::nullopt, usedAt(item.accessTime)};
                found.claimant.names << found.name;
                m_found[item.path] = std::move(found);
            }
    }

    // The applications the system installed: they never go, but what they could claim is nobody's
    // leftover, and a user's entry of the same ID only overrides how they start.
    void readSystemApplications()
    {
        for (const QString& folder : systemEntryFolders(m_options.systemRoot, m_home))
            for (const FileWalker::Item& file : FileWalker::children(folder)) {
                if (!isEntryFile(file))
                    continue;
                const QString id = file.name.chopped(desktopSuffix.size());
                m_systemIDs.insert(id);
                LinuxLeftovers::Claimant claimant{{id}, {}};
                // A system folder may hold links (Flatpak's exports do); reading through them is harmless.
                if (const std::optional<DesktopEntry::Entry> entry = readEntry(file.path)) {
                    claimant.identifiers << entry->startupWMClass;
                    claimant.names << entry->name << entry->chineseName;
                    if (const std::optional<QString> program = DesktopEntry::program(entry->exec, m_home))
                        claimant.names << program->section(u'/', -1);
                }
                m_systemClaimants.push_back(std::move(claimant));
            }
    }

    std::vector<UserEntry> readUserEntries() const
    {
        std::vector<UserEntry> entries;
        const QString folder = PathText::joined(m_home, QStringLiteral(".local/share/applications"));
        for (const FileWalker::Item& file : ConfinedListing::children(m_home, folder)) {
            // A link is not followed: what it leads to is not the user's entry to judge.
            if (file.kind != FileWalker::Kind::file || !isEntryFile(file))
                continue;
            std::optional<DesktopEntry::Entry> entry = readEntry(file.path);
            if (!entry)
                continue;
            LinuxPrograms::Program program = LinuxPrograms::resolve(entry->exec, m_home);
            entries.push_back(
                {file, std::move(*entry), file.name.chopped(desktopSuffix.size()), std::move(program)});
        }
        return entries;
    }

    void addDesktopEntry(const UserEntry& user, const QStringList& programs)
    {
        const DesktopEntry::Entry& entry = user.entry;
        const LinuxPrograms::Program& program = user.program;
        if (program.verdict == Verdict::system)
            return;
        const QString name = entry.name.isEmpty() ? user.id : entry.name;
        const std::optional<QString> icon = LinuxIcons::forDesktopEntry(entry.icon, m_home);
        std::optional<FileWalker::Item> location;
        if (program.verdict == Verdict::program) {
            const QString path = LinuxPrograms::location(program.path, programs, m_shared, m_userFolders);
            if (path != program.path)
                location = ConfinedListing::item(m_home, path);
            if (!location || location->kind != FileWalker::Kind::folder)
                location = program.item;
        }
        Found* found = nullptr;
        if (!location) {
            // No program: the entry itself is what there is to remove, marked with why.
            Found stale{user.file, name, entry.chineseName, markFor(program.verdict), icon, std::nullopt};
            stale.hasProgram = false;
            found = &(m_found[user.file.path] = std::move(stale));
        } else {
            auto [place, added] = m_found.try_emplace(location->path);
            found = &place->second;
            if (added)
                *found = {*location,
                          name,
                          entry.chineseName,
                          LocalText{QStringLiteral("本地应用"), QStringLiteral("Local App")},
                          icon,
                          usedAt(program.item->accessTime)};
            else if (!found->hasDesktopEntry) {
                // An AppImage with an entry of its own is one app, shown as the entry shows it.
                found->name = name;
                found->chineseName = entry.chineseName;
                found->icon = icon;
            }
            found->entries.push_back(leftoverOf(user.file));
        }
        found->hasDesktopEntry = true;
        // An entry with the ID of an application the system or Flatpak installed only changes how that
        // application starts: what that application keeps in the home folder is not this entry's.
        if (!m_systemIDs.contains(user.id)) {
            found->claimant.identifiers << user.id << entry.startupWMClass;
            found->claimant.names << name << entry.chineseName;
        }
        addAutostart(*found, user.file.name);
    }

    void addAutostart(Found& found, const QString& desktopFileName)
    {
        const std::optional<FileWalker::Item> autostart = ConfinedListing::item(
            m_home, PathText::joined(m_home, QStringLiteral(".config/autostart/") + desktopFileName));
        if (autostart && autostart->kind == FileWalker::Kind::file)
            found.entries.push_back(leftoverOf(*autostart));
    }

    UninstallPreviewReport::Entry entryFor(Found& found,
                                           std::vector<UninstallPreviewReport::Leftover> claimed)
    {
        std::vector<UninstallPreviewReport::Leftover> leftovers = std::move(found.entries);
        for (UninstallPreviewReport::Leftover& leftover : claimed) {
            // Without a program nothing proves what the entry was for: its leftovers are offered, unchosen.
            if (!found.hasProgram)
                leftover.match = UninstallPreviewReport::LeftoverMatch::possible;
            leftovers.push_back(std::move(leftover));
        }
        UninstallPreviewReport::Entry entry =
            UninstallPreviewReport::makeEntry(found.name, std::nullopt, found.source, found.item.name,
                                              found.item.path, FileWalker::measure(found.item).allocatedBytes,
                                              std::move(leftovers), found.lastOpened, found.item.identity);
        entry.chineseName = found.chineseName;
        entry.iconPath = found.icon;
        return entry;
    }

    QString flatpakLocation(const QString& id) const
    {
        return PathText::joined(m_home, QStringLiteral(".local/share/flatpak/app/") + id);
    }

    // A Flatpak app keeps its data in ~/.var/app/ID and nowhere else; a native installation's folders
    // are never its.
    UninstallPreviewReport::Entry flatpakEntry(const FlatpakTool::App& app)
    {
        const QString location = flatpakLocation(app.id);
        const std::optional<FileWalker::Item> installed = ConfinedListing::item(m_home, location);
        const bool isFolder = installed && installed->kind == FileWalker::Kind::folder;
        const qint64 bytes =
            isFolder ? FileWalker::measure(*installed).allocatedBytes : app.bytes.value_or(0);
        std::vector<UninstallPreviewReport::Leftover> leftovers;
        std::optional<QDateTime> lastOpened;
        // The app writes its data folder whenever it runs.
        if (const std::optional<FileWalker::Item> data =
                ConfinedListing::item(m_home, PathText::joined(m_home, QStringLiteral(".var/app/") + app.id));
            data && data->kind == FileWalker::Kind::folder) {
            leftovers.push_back(leftoverOf(*data));
            lastOpened = usedAt(QFileInfo(data->path).lastModified().toSecsSinceEpoch());
        }
        UninstallPreviewReport::Entry entry = UninstallPreviewReport::makeEntry(
            app.name, app.id, LocalText::same(QStringLiteral("Flatpak")), app.id, location, bytes,
            std::move(leftovers), lastOpened, isFolder ? std::optional(installed->identity) : std::nullopt);
        entry.iconPath = LinuxIcons::inTheme(
            PathText::joined(m_home, QStringLiteral(".local/share/flatpak/exports/share/icons/hicolor")),
            app.id);
        entry.flatpakID = app.id;
        return entry;
    }

    QString m_home;
    QStringList m_userFolders; // read once: every program is placed against them
    RemovalPolicy::SharedFolders m_shared;
    const Options& m_options;
    std::map<QString, Found> m_found; // by the path moved to the Trash
    QSet<QString> m_systemIDs;
    std::vector<LinuxLeftovers::Claimant> m_systemClaimants;
};

} // namespace

QStringList appImageFolders(const QString& home)
{
    return {PathText::joined(home, QStringLiteral("Applications")),
            PathText::joined(home, QStringLiteral(".local/bin")), UserDirs::read(home).download};
}

bool isAppImageName(const QString& fileName)
{
    return fileName.size() > appImageSuffix.size() && fileName.endsWith(appImageSuffix, Qt::CaseInsensitive);
}

QString appImageName(const QString& fileName)
{
    static const QRegularExpression trailingPart(
        QStringLiteral(
            R"([-_. ](v?\d[0-9a-z.+~]*|x86[_-]64|amd64|aarch64|arm64|armhf|armv7l|i[36]86|x64|linux(64)?)$)"),
        QRegularExpression::CaseInsensitiveOption);
    QString name = isAppImageName(fileName) ? fileName.chopped(appImageSuffix.size()) : fileName;
    for (;;) {
        const QRegularExpressionMatch match = trailingPart.match(name);
        if (!match.hasMatch() || match.capturedStart() == 0)
            return name;
        name.truncate(match.capturedStart());
    }
}

QStringList systemEntryFolders(const QString& systemRoot, const QString& home)
{
    QStringList folders;
    for (const char* folder :
         {"/usr/share/applications", "/usr/local/share/applications",
          "/var/lib/flatpak/exports/share/applications", "/var/lib/snapd/desktop/applications"})
        folders << PathText::standardized(systemRoot + QString::fromUtf8(folder));
    folders << PathText::joined(PathText::standardized(home),
                                QStringLiteral(".local/share/flatpak/exports/share/applications"));
    return folders;
}

UninstallPreviewReport snapshot(const QString& home, const Options& options)
{
    return Scan(home, options).run();
}

} // namespace LinuxApplications
