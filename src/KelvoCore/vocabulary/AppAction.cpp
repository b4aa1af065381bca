#include "vocabulary/AppAction.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/TargetSystem.h"

namespace AppActionFactory {
namespace {

struct TextPair {
    QString zh;
    QString en;
};

const QString dryRunFlag = QStringLiteral("--dry-run");
const QString debugFlag = QStringLiteral("--debug");

// The language is resolved once here, so the action keeps its texts whatever happens later.
AppAction make(AppOperation operation, QStringList arguments, bool isDestructive, const TextPair& title,
               const TextPair& detail)
{
    const bool chinese = AppLocalization::currentLanguage() == AppResolvedLanguage::chinese;
    AppAction action;
    action.id = QUuid::createUuid();
    action.title = chinese ? title.zh : title.en;
    action.detail = chinese ? detail.zh : detail.en;
    action.arguments = std::move(arguments);
    action.operation = operation;
    action.isDestructive = isDestructive;
    return action;
}

// The advanced-menu vocabulary has Chinese texts only.
AppAction makeChinese(AppOperation operation, QStringList arguments, const QString& title,
                      const QString& detail)
{
    return make(operation, std::move(arguments), false, {title, title}, {detail, detail});
}

// An operation that either only looks (a dry run) or acts, which needs a confirmation: its command
// word, then "--dry-run" and "--debug" as asked.
AppAction withModes(AppOperation operation, const QString& command, bool dryRun, bool debug,
                    const TextPair& title, const TextPair& detail)
{
    QStringList arguments{command};
    if (dryRun)
        arguments << dryRunFlag;
    if (debug)
        arguments << debugFlag;
    AppAction action = make(operation, std::move(arguments), !dryRun, title, detail);
    action.dryRun = dryRun;
    return action;
}

// How the English texts name the machine: "Mac" on macOS, "computer" elsewhere.
QString yourComputer()
{
    return TargetSystems::built() == TargetSystem::macOS ? QStringLiteral("Mac") : QStringLiteral("computer");
}

} // namespace

AppAction clean(bool dryRun, bool debug)
{
    if (dryRun)
        return withModes(AppOperation::clean, QStringLiteral("clean"), true, debug,
                         {QStringLiteral("预览清理项目"), QStringLiteral("Preview Cleanup Items")},
                         {QStringLiteral("只检查可清理项目，不会删除任何内容。"),
                          QStringLiteral("Only check cleanable items. Nothing will be deleted.")});
    return withModes(
        AppOperation::clean, QStringLiteral("clean"), false, debug,
        {QStringLiteral("开始清理"), QStringLiteral("Start Cleaning")},
        // What exactly goes (the chosen places, the Trash only when chosen) the confirmation's note says.
        {QStringLiteral("确认后清理你在预览中选中的项目；需要管理员权限的系统缓存会跳过。"),
         QStringLiteral("After confirmation, clean what you chose in the preview. System caches requiring "
                        "admin access will be skipped.")});
}

AppAction cleanWhitelist()
{
    return make(AppOperation::cleanWhitelist, {QStringLiteral("clean"), QStringLiteral("--whitelist")}, false,
                {QStringLiteral("编辑保护名单"), QStringLiteral("Edit Protection List")},
                {QStringLiteral("选择永远不要被清理的位置。"),
                 QStringLiteral("Choose locations that should never be cleaned.")});
}

AppAction uninstall(bool dryRun, bool debug)
{
    if (dryRun)
        return withModes(AppOperation::uninstall, QStringLiteral("uninstall"), true, debug,
                         {QStringLiteral("预览卸载项目"), QStringLiteral("Preview Uninstall Items")},
                         {QStringLiteral("查看可移除的应用残留，不会删除任何内容。"),
                          QStringLiteral("Review removable app leftovers. Nothing will be deleted.")});
    return withModes(AppOperation::uninstall, QStringLiteral("uninstall"), false, debug,
                     {QStringLiteral("选择应用卸载"), QStringLiteral("Choose Apps to Uninstall")},
                     {QStringLiteral("选择要卸载的应用和相关文件。"),
                      QStringLiteral("Choose the apps and related files to uninstall.")});
}

AppAction optimize(bool dryRun, bool debug)
{
    if (dryRun)
        return withModes(
            AppOperation::optimize, QStringLiteral("optimize"), true, debug,
            {QStringLiteral("预览优化项目"), QStringLiteral("Preview Optimization Items")},
            {QStringLiteral("预览可优化的项目，不会改动电脑。"),
             QStringLiteral("Preview optimization items without changing your %1.").arg(yourComputer())});
    return withModes(
        AppOperation::optimize, QStringLiteral("optimize"), false, debug,
        {QStringLiteral("开始优化"), QStringLiteral("Start Optimizing")},
        {QStringLiteral("确认后刷新系统服务、重建缓存并整理诊断数据。"),
         QStringLiteral("After confirmation, refresh services, rebuild caches, and organize diagnostics.")});
}

AppAction optimizeWhitelist()
{
    return make(AppOperation::optimizeWhitelist, {QStringLiteral("optimize"), QStringLiteral("--whitelist")},
                false, {QStringLiteral("编辑优化保护项"), QStringLiteral("Edit Optimization Safeguards")},
                {QStringLiteral("选择优化时要跳过的项目。"),
                 QStringLiteral("Choose items to skip during optimization.")});
}

AppAction analyze(const QString& path, bool json)
{
    QStringList arguments{QStringLiteral("analyze")};
    if (json)
        arguments << QStringLiteral("--json");
    // Only the emptiness test trims; the path itself is passed on exactly as given.
    if (!path.trimmed().isEmpty())
        arguments << path;
    const TextPair scan{QStringLiteral("分析空间"), QStringLiteral("Analyze Storage")};
    const TextPair scanDetail{QStringLiteral("检查所选位置，并汇总空间占用。"),
                              QStringLiteral("Scan the selected location and summarize storage usage.")};
    const TextPair view{QStringLiteral("打开详细查看"), QStringLiteral("Open Advanced View")};
    const TextPair viewDetail{QStringLiteral("打开更详细的空间查看窗口。"),
                              QStringLiteral("Open a more detailed storage view.")};
    AppAction action = make(AppOperation::analyze, std::move(arguments), false, json ? scan : view,
                            json ? scanDetail : viewDetail);
    action.json = json;
    return action;
}

AppAction status(bool json)
{
    QStringList arguments{QStringLiteral("status")};
    if (json)
        arguments << QStringLiteral("--json");
    AppAction action = make(AppOperation::status, std::move(arguments), false,
                            {QStringLiteral("刷新状态"), QStringLiteral("Refresh Status")},
                            {QStringLiteral("刷新 CPU、内存、磁盘、电池和网络状态。"),
                             QStringLiteral("Refresh CPU, memory, disk, battery, and network status.")});
    action.json = json;
    return action;
}

AppAction purge(bool dryRun, bool debug)
{
    if (dryRun)
        return withModes(
            AppOperation::purge, QStringLiteral("purge"), true, debug,
            {QStringLiteral("预览项目文件"), QStringLiteral("Preview Project Files")},
            {QStringLiteral("查找可整理的项目文件，不会删除任何内容。"),
             QStringLiteral("Find project files that can be cleaned up without deleting anything.")});
    return withModes(
        AppOperation::purge, QStringLiteral("purge"), false, debug,
        {QStringLiteral("选择项目清理"), QStringLiteral("Choose Project Cleanup")},
        {QStringLiteral("选择要清理的项目文件。"), QStringLiteral("Choose the project files to clean up.")});
}

AppAction purgePaths()
{
    return make(AppOperation::purgePaths, {QStringLiteral("purge"), QStringLiteral("--paths")}, false,
                {QStringLiteral("配置检查范围"), QStringLiteral("Set Scan Scope")},
                {QStringLiteral("选择项目瘦身要检查的位置。"),
                 QStringLiteral("Choose the locations to scan for project cleanup.")});
}

AppAction installer(bool dryRun, bool debug)
{
    if (dryRun)
        return withModes(AppOperation::installer, QStringLiteral("installer"), true, debug,
                         {QStringLiteral("预览安装包"), QStringLiteral("Preview Installer Files")},
                         {QStringLiteral("查找安装包文件，不会删除任何内容。"),
                          QStringLiteral("Find installer files without deleting anything.")});
    return withModes(AppOperation::installer, QStringLiteral("installer"), false, debug,
                     {QStringLiteral("选择安装包清理"), QStringLiteral("Choose Installer Cleanup")},
                     {QStringLiteral("选择要清理的安装包文件。"),
                      QStringLiteral("Choose the installer files to clean up.")});
}

AppAction touchID(bool dryRun)
{
    const TextPair detail{QStringLiteral("Kelvo 暂不支持 Touch ID 配置。"),
                          QStringLiteral("Touch ID configuration is not available in Kelvo yet.")};
    if (dryRun)
        return withModes(AppOperation::touchID, QStringLiteral("touchid"), true, false,
                         {QStringLiteral("预览 Touch ID"), QStringLiteral("Preview Touch ID")}, detail);
    return withModes(AppOperation::touchID, QStringLiteral("touchid"), false, false,
                     {QStringLiteral("启用 Touch ID"), QStringLiteral("Enable Touch ID")}, detail);
}

AppAction completion(bool dryRun)
{
    const TextPair detail{QStringLiteral("Kelvo 暂不支持快捷输入配置。"),
                          QStringLiteral("Shell completion setup is not available in Kelvo yet.")};
    if (dryRun)
        return withModes(AppOperation::completion, QStringLiteral("completion"), true, false,
                         {QStringLiteral("预览快捷输入"), QStringLiteral("Preview Shell Completion")},
                         detail);
    return withModes(AppOperation::completion, QStringLiteral("completion"), false, false,
                     {QStringLiteral("启用快捷输入"), QStringLiteral("Enable Shell Completion")}, detail);
}

AppAction update(bool nightly, bool force)
{
    QStringList arguments{QStringLiteral("update")};
    if (nightly)
        arguments << QStringLiteral("--nightly");
    if (force)
        arguments << QStringLiteral("--force");
    return make(AppOperation::update, std::move(arguments), false,
                {QStringLiteral("检查 Kelvo 更新"), QStringLiteral("Check for Kelvo Updates")},
                {QStringLiteral("从配置的更新源检查是否有新版本。"),
                 QStringLiteral("Check the configured update feed for a newer version.")});
}

AppAction remove(bool dryRun)
{
    const TextPair detail{QStringLiteral("Kelvo 暂不支持从这里移除应用。"),
                          QStringLiteral("Removing Kelvo from this screen is not supported yet.")};
    if (dryRun)
        return withModes(AppOperation::remove, QStringLiteral("remove"), true, false,
                         {QStringLiteral("预览移除"), QStringLiteral("Preview Removal")}, detail);
    return withModes(AppOperation::remove, QStringLiteral("remove"), false, false,
                     {QStringLiteral("移除 Kelvo"), QStringLiteral("Remove Kelvo")}, detail);
}

AppAction menu()
{
    return makeChinese(AppOperation::menu, {}, QStringLiteral("打开高级菜单"),
                       QStringLiteral("打开高级辅助窗口。"));
}

AppAction help()
{
    return makeChinese(AppOperation::help, {QStringLiteral("--help")}, QStringLiteral("查看帮助"),
                       QStringLiteral("查看帮助信息。"));
}

AppAction version()
{
    return makeChinese(AppOperation::version, {QStringLiteral("--version")}, QStringLiteral("查看版本"),
                       QStringLiteral("查看当前版本。"));
}

std::optional<AppFeature> featureForAction(const AppAction& action)
{
    switch (action.operation) {
    case AppOperation::clean:
    case AppOperation::cleanWhitelist:
        return AppFeature::clean;
    case AppOperation::uninstall:
        return AppFeature::uninstall;
    case AppOperation::optimize:
    case AppOperation::optimizeWhitelist:
        return AppFeature::optimize;
    case AppOperation::analyze:
        return AppFeature::analyze;
    case AppOperation::purge:
    case AppOperation::purgePaths:
        return AppFeature::purge;
    case AppOperation::installer:
        return AppFeature::installer;
    case AppOperation::status:
        // Only the window's refresh is the dashboard's.
        return action.json ? std::optional(AppFeature::dashboard) : std::nullopt;
    case AppOperation::touchID:
    case AppOperation::completion:
    case AppOperation::update:
    case AppOperation::remove:
    case AppOperation::menu:
    case AppOperation::help:
    case AppOperation::version:
        break;
    }
    return std::nullopt;
}

} // namespace AppActionFactory
