#include "optimize/OptimizeSteps.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/PathText.h"

#include <QFileInfo>

#include <unistd.h>

namespace OptimizeSteps {

namespace {

OptimizeStepAction command(const QString& program, const QStringList& arguments, const QString& folder = {})
{
    return {OptimizeStepAction::Command{program, arguments, folder}, {}, std::nullopt};
}

OptimizeStepAction conditional(OptimizeStepAction action, const QString& path, const QString& zhReason,
                               const QString& enReason)
{
    action.condition = OptimizeStepAction::Condition{path, zhReason, enReason};
    return action;
}

// The private socket of the user's service manager, which systemctl --user talks to.
QString userManagerSocket()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder =
        QFileInfo(runtime).isAbsolute() ? runtime : QStringLiteral("/run/user/%1").arg(getuid());
    return PathText::joined(folder, QStringLiteral("systemd/private"));
}

std::map<QString, OptimizeStepAction> macActions()
{
    // Each runs as the user, deletes nothing and edits no preferences.
    const OptimizeStepAction flushDirectoryCache =
        command(QStringLiteral("/usr/sbin/dscacheutil"), {QStringLiteral("-flushcache")});
    return {
        {QStringLiteral("system_maintenance"), flushDirectoryCache},
        {QStringLiteral("network_optimization"), flushDirectoryCache},
        {QStringLiteral("cache_refresh"),
         command(QStringLiteral("/usr/bin/qlmanage"), {QStringLiteral("-r"), QStringLiteral("cache")})},
        {QStringLiteral("dock_refresh"),
         command(QStringLiteral("/usr/bin/killall"), {QStringLiteral("Dock")})},
    };
}

std::map<QString, OptimizeStepAction> linuxActions(const QString& home)
{
    const QString applicationsFolder = QStringLiteral(".local/share/applications");
    const QString mimeFolder = QStringLiteral(".local/share/mime");
    const QString applications = PathText::joined(home, applicationsFolder);
    const QString mime = PathText::joined(home, mimeFolder);
    OptimizeStepAction thumbnails;
    thumbnails.emptiedFolder = QStringLiteral(".cache/thumbnails");
    return {
        {QStringLiteral("dns_cache_flush"),
         conditional(command(QStringLiteral("/usr/bin/resolvectl"), {QStringLiteral("flush-caches")}),
                     QStringLiteral("/run/systemd/resolve/io.systemd.Resolve"),
                     QStringLiteral("此电脑上没有运行 systemd-resolved。"),
                     QStringLiteral("systemd-resolved is not running on this computer."))},
        {QStringLiteral("thumbnail_cache_cleanup"), thumbnails},
        {QStringLiteral("font_cache_rebuild"),
         command(QStringLiteral("/usr/bin/fc-cache"), {QStringLiteral("-f")})},
        {QStringLiteral("desktop_database_refresh"),
         conditional(command(QStringLiteral("/usr/bin/update-desktop-database"), {QStringLiteral(".")},
                             applicationsFolder),
                     applications, QStringLiteral("没有可刷新的 ~/.local/share/applications 文件夹。"),
                     QStringLiteral("There is no ~/.local/share/applications folder to refresh."))},
        {QStringLiteral("mime_database_refresh"),
         conditional(
             command(QStringLiteral("/usr/bin/update-mime-database"), {QStringLiteral(".")}, mimeFolder),
             PathText::joined(mime, QStringLiteral("packages")),
             QStringLiteral("没有需要重建的自定义文件类型定义。"),
             QStringLiteral("There are no file type definitions of your own to rebuild."))},
        {QStringLiteral("failed_units_reset"),
         conditional(command(QStringLiteral("/usr/bin/systemctl"),
                             {QStringLiteral("--user"), QStringLiteral("reset-failed")}),
                     userManagerSocket(), QStringLiteral("systemd 用户服务管理器没有在这里运行。"),
                     QStringLiteral("The systemd user manager is not running here."))},
    };
}

} // namespace

std::map<QString, OptimizeStepAction> actions(TargetSystem system, const QString& home)
{
    return system == TargetSystem::macOS ? macActions() : linuxActions(home);
}

QString located(const QString& path, const QString& home, const QString& systemRoot)
{
    if (systemRoot.isEmpty() ||
        (!home.isEmpty() && PathText::isAtOrBelow(path, PathText::standardized(home))))
        return path;
    return PathText::standardized(systemRoot + QLatin1Char('/') + path);
}

std::optional<QString> unavailableReason(const OptimizeStepAction& action, const QString& home,
                                         const QString& systemRoot)
{
    if (action.command) {
        const QFileInfo tool(located(action.command->program, home, systemRoot));
        if (!tool.isFile() || !tool.isExecutable())
            return AppLocalization::localized(QStringLiteral("此电脑上没有安装 %1。"),
                                              QStringLiteral("%1 is not installed on this computer."))
                .arg(QFileInfo(action.command->program).fileName());
    }
    if (action.condition) {
        const QString path = located(action.condition->path, home, systemRoot);
        const QString homeText = PathText::standardized(home);
        // A condition in the home folder is a folder the tool reads, reached like the tool's own.
        if (!home.isEmpty() && path != homeText && PathText::isAtOrBelow(path, homeText)) {
            const ConfinedPath::FolderOutcome reached = ConfinedPath::reachFolder(homeText, path);
            if (!reached.folder && reached.failure != ConfinedPath::Failure::missing)
                return unreachable(reached, home);
            if (!reached.folder)
                return AppLocalization::localized(action.condition->zhReason, action.condition->enReason);
        } else if (!QFileInfo::exists(path)) {
            return AppLocalization::localized(action.condition->zhReason, action.condition->enReason);
        }
    }
    if (action.command) {
        if (const ConfinedPath::FolderOutcome reached = toolFolder(*action.command, home); !reached.folder)
            return unreachable(reached, home);
    }
    return std::nullopt;
}

ConfinedPath::FolderOutcome toolFolder(const OptimizeStepAction::Command& command, const QString& home)
{
    const QString homeText = PathText::standardized(home);
    return ConfinedPath::reachFolder(
        homeText, command.folder.isEmpty() ? homeText : PathText::joined(homeText, command.folder));
}

QString unreachable(const ConfinedPath::FolderOutcome& outcome, const QString& home)
{
    return AppLocalization::localized(QStringLiteral("不可用：%1。"), QStringLiteral("Unavailable: %1."))
        .arg(ConfinedPath::describe(outcome, home));
}

} // namespace OptimizeSteps
