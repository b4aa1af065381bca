#include "uninstall/LinuxApplications.h"

#include "platform/DesktopEntry.h"
#include "platform/FileWalker.h"
#include "platform/PathText.h"
#include "platform/TextFile.h"
#include "platform/UserDirs.h"
#include "uninstall/LinuxIcons.h"
#include "uninstall/LinuxLeftovers.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTimeZone>

#include <map>

namespace LinuxApplications {

namespace {

const QString appImageSuffix = QStringLiteral(".AppImage");
const QString desktopSuffix = QStringLiteral(".desktop");
constexpr qint64 desktopEntryMaxBytes = 1024 * 1024;

// An application as the scan puts it together: an AppImage, a program with its desktop entries, or a
// desktop entry whose program is gone.
struct Found {
    FileWalker::Item item; // what is moved to the Trash
    QString name;
    QString chineseName;
    QString source;
    std::optional<QString> icon;
    std::optional<QDateTime> lastOpened;
    QStringList names = {};       // every name it goes by: an AppImage's and its entry's
    QStringList identifiers = {}; // desktop entry file names without ".desktop"
    std::vector<UninstallPreviewReport::Leftover> entries = {}; // its desktop and autostart entries
    bool hasDesktopEntry = false;
};

std::optional<QDateTime> usedAt(qint64 secondsSinceEpoch)
{
    if (secondsSinceEpoch <= 0)
        return std::nullopt;
    return QDateTime::fromSecsSinceEpoch(secondsSinceEpoch, QTimeZone::utc());
}

QString localizedName(const QString& chinese, const QString& english)
{
    return chinese.isEmpty() ? english : AppLocalization::localized(chinese, english);
}

UninstallPreviewReport::Leftover leftoverOf(const FileWalker::Item& item)
{
    return {item.path, FileWalker::measure(item).allocatedBytes,
            UninstallPreviewReport::LeftoverMatch::strong, item.identity};
}

// A bare program name is looked for where the user keeps programs of their own; elsewhere it is a
// system program.
std::optional<QString> programPath(const QString& program, const QString& home)
{
    if (program.startsWith(u'/'))
        return PathText::standardized(program);
    for (const char* folder : {".local/bin", "bin"})
        if (const QString path = PathText::joined(home, QString::fromUtf8(folder) + u'/' + program);
            FileWalker::statItem(path))
            return path;
    return std::nullopt;
}

class Scan {
public:
    Scan(const QString& home, const Options& options)
        : m_home(PathText::standardized(home))
        , m_personal(UserDirs::read(m_home))
        , m_options(options)
    {
    }

    UninstallPreviewReport run()
    {
        for (const QString& folder : m_options.appImageFolders.value_or(appImageFolders(m_home)))
            addAppImages(folder);
        addDesktopEntries();
        LinuxLeftovers::Listing listing(m_home);
        std::vector<UninstallPreviewReport::Entry> entries;
        for (auto& [path, found] : m_found)
            entries.push_back(entryFor(found, listing));
        const FlatpakTool::Listing flatpaks =
            FlatpakTool::list(m_options.flatpakTool, m_options.flatpakTimeLimit);
        for (const FlatpakTool::App& app : flatpaks.apps)
            entries.push_back(flatpakEntry(app, listing));
        UninstallPreviewReport report(std::move(entries));
        if (flatpaks.note)
            report.notes << *flatpaks.note;
        return report;
    }

private:
    void addAppImages(const QString& folder)
    {
        for (const FileWalker::Item& item : FileWalker::children(folder))
            if (item.kind == FileWalker::Kind::file && isAppImageName(item.name) &&
                !m_found.contains(item.path)) {
                Found found{item,         appImageName(item.name), {}, QStringLiteral("AppImage"),
                            std::nullopt, usedAt(item.accessTime)};
                found.names << found.name;
                m_found[item.path] = std::move(found);
            }
    }

    void addDesktopEntries()
    {
        const QString folder = PathText::joined(m_home, QStringLiteral(".local/share/applications"));
        for (const FileWalker::Item& file : FileWalker::children(folder)) {
            // A link is not followed: what it leads to is not the user's entry to judge.
            if (file.kind != FileWalker::Kind::file || !file.name.endsWith(desktopSuffix) ||
                file.name.size() == desktopSuffix.size())
                continue;
            QString text;
            try {
                text = TextFile::readUtf8(file.path, desktopEntryMaxBytes);
            } catch (const KelvoError&) {
                continue; // an entry that cannot be read tells nothing about an app
            }
            addDesktopEntry(file, DesktopEntry::parse(text));
        }
    }

    void addDesktopEntry(const FileWalker::Item& file, const DesktopEntry::Entry& entry)
    {
        const std::optional<QString> command = DesktopEntry::program(entry.exec, m_home);
        const std::optional<QString> program = command ? programPath(*command, m_home) : std::nullopt;
        if (!program || !PathText::isAtOrBelow(*program, m_home) || *program == m_home)
            return; // a system program, or none
        const QString identifier = file.name.chopped(desktopSuffix.size());
        const QString name = entry.name.isEmpty() ? identifier : entry.name;
        const std::optional<QString> icon = LinuxIcons::forDesktopEntry(entry.icon, m_home);
        const std::optional<FileWalker::Item> programItem = FileWalker::statItem(*program);
        const std::optional<FileWalker::Item> location =
            programItem ? FileWalker::statItem(programLocation(*program, m_home, m_personal)) : std::nullopt;
        if (!location) {
            // The program is gone: the entry itself is what there is to remove.
            Found stale{
                file,
                name,
                entry.chineseName,
                AppLocalization::localized(QStringLiteral("程序已不存在"), QStringLiteral("Program missing")),
                icon,
                std::nullopt};
            stale.names << name << entry.chineseName;
            stale.identifiers << identifier;
            stale.hasDesktopEntry = true;
            addAutostart(stale, file.name);
            m_found[file.path] = std::move(stale);
            return;
        }
        auto [place, added] = m_found.try_emplace(location->path);
        Found& found = place->second;
        if (added)
            found = {*location,
                     name,
                     entry.chineseName,
                     AppLocalization::localized(QStringLiteral("本地应用"), QStringLiteral("Local App")),
                     icon,
                     usedAt(programItem->accessTime)};
        else if (!found.hasDesktopEntry) {
            // An AppImage with an entry of its own is one app, shown as the entry shows it.
            found.name = name;
            found.chineseName = entry.chineseName;
            found.icon = icon;
        }
        found.hasDesktopEntry = true;
        found.names << name << entry.chineseName;
        found.identifiers << identifier;
        found.entries.push_back(leftoverOf(file));
        addAutostart(found, file.name);
    }

    void addAutostart(Found& found, const QString& desktopFileName)
    {
        const std::optional<FileWalker::Item> autostart = FileWalker::statItem(
            PathText::joined(m_home, QStringLiteral(".config/autostart/") + desktopFileName));
        if (autostart && autostart->kind != FileWalker::Kind::folder)
            found.entries.push_back(leftoverOf(*autostart));
    }

    UninstallPreviewReport::Entry entryFor(Found& found, LinuxLeftovers::Listing& listing)
    {
        const QString name = localizedName(found.chineseName, found.name);
        std::vector<UninstallPreviewReport::Leftover> leftovers = std::move(found.entries);
        for (UninstallPreviewReport::Leftover& leftover :
             listing.leftovers({found.names, found.identifiers, found.item.path}))
            leftovers.push_back(std::move(leftover));
        UninstallPreviewReport::Entry entry =
            UninstallPreviewReport::makeEntry(name, std::nullopt, found.source, found.item.name,
                                              found.item.path, FileWalker::measure(found.item).allocatedBytes,
                                              std::move(leftovers), found.lastOpened, found.item.identity);
        entry.iconPath = found.icon;
        return entry;
    }

    UninstallPreviewReport::Entry flatpakEntry(const FlatpakTool::App& app, LinuxLeftovers::Listing& listing)
    {
        const QString location =
            PathText::joined(m_home, QStringLiteral(".local/share/flatpak/app/") + app.id);
        const std::optional<FileWalker::Item> installed = FileWalker::statItem(location);
        const qint64 bytes = installed && installed->kind == FileWalker::Kind::folder
                                 ? FileWalker::measure(*installed).allocatedBytes
                                 : app.bytes.value_or(0);
        // The app writes its data folder whenever it runs; a link there is not the app's.
        const QFileInfo data(PathText::joined(m_home, QStringLiteral(".var/app/") + app.id));
        const std::optional<QDateTime> lastOpened =
            data.isDir() && !data.isSymLink() ? usedAt(data.lastModified().toSecsSinceEpoch()) : std::nullopt;
        UninstallPreviewReport::Entry entry = UninstallPreviewReport::makeEntry(
            app.name, app.id, QStringLiteral("Flatpak"), app.id, location, bytes,
            listing.leftovers({{app.name}, {app.id}, location}), lastOpened,
            installed ? std::optional(installed->identity) : std::nullopt);
        entry.iconPath = LinuxIcons::inTheme(
            PathText::joined(m_home, QStringLiteral(".local/share/flatpak/exports/share/icons/hicolor")),
            app.id);
        entry.flatpakID = app.id;
        return entry;
    }

    QString m_home;
    UserDirs::Folders m_personal; // read once: every desktop entry's program is placed against them
    const Options& m_options;
    std::map<QString, Found> m_found; // by the path moved to the Trash
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

QString programLocation(const QString& program, const QString& home, const UserDirs::Folders& personal)
{
    const QString root = PathText::standardized(home);
    const QString path = PathText::standardized(program);
    if (!PathText::isAtOrBelow(path, root) || path == root)
        return {};
    // Below the user's own documents a folder is the user's, whatever program it holds.
    if (PathText::isAtOrBelowAny(path, {personal.desktop, personal.documents, personal.download}))
        return path;
    QStringList shared;
    for (const char* folder : {".local", ".local/bin", ".local/share", ".local/lib", ".local/opt", "bin",
                               "opt", "Applications", ".config", ".cache", ".var", ".var/app"})
        shared << QString::fromUtf8(folder);
    const QStringList parts = path.mid(root.size() + 1).split(u'/');
    for (qsizetype depth = parts.size() - 1; depth > 0; --depth) {
        if (!shared.contains(parts.first(depth).join(u'/')))
            continue;
        return depth == parts.size() - 1 ? path : PathText::joined(root, parts.first(depth + 1).join(u'/'));
    }
    // A folder directly in the home folder (~/code, ~/scripts) may hold far more than this program.
    return path;
}

UninstallPreviewReport snapshot(const QString& home, const Options& options)
{
    return Scan(home, options).run();
}

} // namespace LinuxApplications
