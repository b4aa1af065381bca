#include "installer/LocalInstallerPreview.h"

#include "installer/LinuxInstallers.h"
#include "platform/FileWalker.h"
#include "platform/HomeFolder.h"
#include "platform/UserDirs.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/PathText.h"
#include "vocabulary/StableId.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QSet>

namespace LocalInstallerPreview {

namespace {

QString below(const QString& base, const QString& relative)
{
    return PathText::standardized(PathText::joined(base, relative));
}

struct Candidate {
    QString path;
    QString name;
    qint64 allocatedBytes = 0;
    FileIdentity identity;
};

QString extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.mid(dot + 1).toLower() : QString();
}

bool stopped(const QDeadlineTimer& deadline, const Options& options)
{
    return deadline.hasExpired() || (options.cancelled && options.cancelled->load());
}

// Whether a file is worth judging: by its extension on macOS, by the end of its name on Linux.
bool isCandidate(const QString& name, TargetSystem system)
{
    static const QSet<QString> extensions(scannedFileExtensions().begin(), scannedFileExtensions().end());
    return system == TargetSystem::linuxDesktop ? LinuxInstallers::isInstallerName(name)
                                                : extensions.contains(extensionOf(name));
}

// Regular files that may be installers, at most maxDepth levels below the location.
std::vector<Candidate> findInstallerFiles(const QString& location, int maxDepth, TargetSystem system,
                                          const QDeadlineTimer& deadline, const Options& options)
{
    std::vector<Candidate> found;
    if (maxDepth < 1 || stopped(deadline, options))
        return found;
    FileWalker::Options walk;
    walk.includeHidden = false;
    walk.enterPackages = false;
    walk.maxDepth = maxDepth;
    walk.deadline = deadline;
    walk.cancelled = options.cancelled;
    FileWalker::walk(location, walk, [&](const FileWalker::Item& item) {
        // Links are never listed: trashing one would leave the installer it points to.
        if (item.kind == FileWalker::Kind::file && isCandidate(item.name, system))
            found.push_back({item.path, item.name, item.allocatedBytes, item.identity});
        return FileWalker::Decision::proceed;
    });
    return found;
}

QString displayName(const QString& fileName, const LocalText& source)
{
    // Homebrew's download cache prefixes each file with the hash of its address.
    static const QRegularExpression hashPrefix(QStringLiteral("^[0-9a-f]{64}--"));
    if (source.english != QLatin1String("Homebrew"))
        return fileName;
    return QString(fileName).remove(hashPrefix);
}

// The kind of an installer (empty for the macOS types); none when the file is no installer. Past the
// budget no more listing tools are started.
std::optional<LinuxInstallers::Kind> judge(const Candidate& candidate, TargetSystem system,
                                           const QDeadlineTimer& deadline, const Options& options)
{
    const bool toolsAllowed = !deadline.hasExpired();
    if (system == TargetSystem::macOS) {
        // A zip past the budget is judged by its tail alone.
        if (extensionOf(candidate.name) == QLatin1String("zip") &&
            !InstallerArchive::carriesInstaller(candidate.path, options.listing, toolsAllowed))
            return std::nullopt;
        return LinuxInstallers::Kind{};
    }
    if (std::optional<LinuxInstallers::Kind> package = LinuxInstallers::packageKind(candidate.name))
        return package;
    // An archive counts only when its listing shows a package: a compressed tarball has no tail to
    // read, so an archive that cannot be listed is no installer.
    if (!toolsAllowed)
        return std::nullopt;
    const std::optional<QStringList> names = InstallerArchive::listEntries(
        candidate.path, InstallerArchive::listingLimit,
        LinuxInstallers::isZip(candidate.name) ? options.listing : options.tarListing);
    return names ? LinuxInstallers::archiveKind(*names) : std::nullopt;
}

std::vector<InstallerPreviewReport::Entry> scanInstallers(const ScanPath& location, int maxDepth,
                                                          TargetSystem system, const QDeadlineTimer& deadline,
                                                          const Options& options)
{
    std::vector<InstallerPreviewReport::Entry> entries;
    if (!FileWalker::statItem(location.path) || stopped(deadline, options))
        return entries;
    for (const Candidate& candidate : findInstallerFiles(location.path, maxDepth, system, deadline, options))
        if (const std::optional<LinuxInstallers::Kind> kind = judge(candidate, system, deadline, options))
            entries.push_back({StableId::of(candidate.path), displayName(candidate.name, location.source),
                               candidate.path, location.source, candidate.allocatedBytes, candidate.identity,
                               location.path, kind->code, kind->text});
    return entries;
}

// The folders a Linux desktop keeps downloads in. The user-dirs file only says where to look, never
// what to remove: a folder it names outside the home is searched, and the Trash move's own guard
// still decides what may leave.
std::vector<ScanPath> linuxScanPaths(const QString& home, const Places& places)
{
    const UserDirs::Folders folders = UserDirs::read(home, places.configHome);
    return {{PathText::standardized(folders.download), LocalText("下载", "Downloads")},
            {PathText::standardized(folders.desktop), LocalText("桌面", "Desktop")},
            {PathText::standardized(folders.documents), LocalText("文档", "Documents")},
            {below(home, "Public"), LocalText("公共", "Public")},
            {below(folders.download, "Telegram Desktop"), LocalText::same(QStringLiteral("Telegram"))}};
}

} // namespace

const QStringList& scannedFileExtensions()
{
    static const QStringList extensions{"dmg", "pkg", "mpkg",         "iso",
                                        "xip", "zip", "appinstaller", "mobileconfig"};
    return extensions;
}

QStringList fileTypes(TargetSystem system)
{
    if (system == TargetSystem::linuxDesktop)
        return LinuxInstallers::fileTypes();
    QStringList types;
    for (const QString& extension : scannedFileExtensions())
        types << QLatin1Char('.') + extension;
    return types;
}

Places systemPlaces(TargetSystem system)
{
    if (system == TargetSystem::macOS)
        return {QStringLiteral("/Users/Shared"),
                HomeFolder::current(),
                {{QStringLiteral("/Library/Updates"), QStringLiteral("系统更新"),
                  QStringLiteral("System Updates")},
                 {QStringLiteral("/opt/homebrew/Caskroom"), QStringLiteral("Homebrew Cask"),
                  QStringLiteral("Homebrew Cask")},
                 {QStringLiteral("/usr/local/Caskroom"), QStringLiteral("Homebrew Cask"),
                  QStringLiteral("Homebrew Cask")}}};
    // The shared folder and the system places are macOS's; a Linux desktop has none of them.
    return {{}, HomeFolder::current(), {}, TargetSystem::linuxDesktop};
}

std::vector<ScanPath> installerScanPaths(const QString& home, const Places& places)
{
    if (places.system == TargetSystem::linuxDesktop)
        return linuxScanPaths(home, places);
    const LocalText telegram = LocalText::same(QStringLiteral("Telegram"));
    std::vector<ScanPath> paths{
        {below(home, "Downloads"), LocalText("下载", "Downloads")},
        {below(home, "Desktop"), LocalText("桌面", "Desktop")},
        {below(home, "Documents"), LocalText("文稿", "Documents")},
        {below(home, "Public"), LocalText("公共", "Public")},
        {below(home, "Library/Downloads"), LocalText("资源库", "Library")},
    };
    if (!places.sharedRoot.isEmpty()) {
        paths.push_back({PathText::standardized(places.sharedRoot), LocalText("共享", "Shared")});
        paths.push_back({below(places.sharedRoot, "Downloads"), LocalText("共享", "Shared")});
    }
    paths.insert(paths.end(),
                 {{below(home, "Library/Caches/Homebrew"), LocalText::same(QStringLiteral("Homebrew"))},
                  {below(home, "Library/Mobile Documents/com~apple~CloudDocs/Downloads"),
                   LocalText::same(QStringLiteral("iCloud"))},
                  {below(home, "Library/Containers/com.apple.mail/Data/Library/Mail Downloads"),
                   LocalText("邮件", "Mail")},
                  {below(home, "Library/Application Support/Telegram Desktop"), telegram},
                  {below(home, "Downloads/Telegram Desktop"), telegram}});
    // System-wide places belong to the user who is running Kelvo, not to another home folder.
    if (PathText::standardized(home) == PathText::standardized(places.currentHome))
        for (const SystemLocation& location : places.systemLocations)
            paths.push_back({location.path, LocalText(location.sourceZh, location.sourceEn)});
    return paths;
}

std::vector<ScanLocation> availableScanLocations(const QString& home, const Places& places)
{
    std::vector<ScanLocation> locations;
    for (const ScanPath& path : installerScanPaths(home, places)) {
        const QString last = path.path.mid(path.path.lastIndexOf(QLatin1Char('/')) + 1);
        locations.push_back({path.path, last.isEmpty() ? path.path : last, path.source,
                             FileWalker::statItem(path.path).has_value()});
    }
    return locations;
}

InstallerPreviewReport snapshot(const QString& home, const Places& places, int maxDepth,
                                const Options& options)
{
    const QDeadlineTimer deadline(options.budget);
    std::vector<InstallerPreviewReport::Entry> entries;
    QSet<QString> seen;
    for (const ScanPath& location : installerScanPaths(home, places)) {
        if (stopped(deadline, options))
            break;
        // A file reachable from two locations keeps the first one's source.
        for (InstallerPreviewReport::Entry& entry :
             scanInstallers(location, maxDepth, places.system, deadline, options))
            if (!seen.contains(entry.path)) {
                seen.insert(entry.path);
                entries.push_back(std::move(entry));
            }
    }
    return InstallerPreviewReport(std::move(entries), QDateTime::currentDateTimeUtc());
}

} // namespace LocalInstallerPreview
