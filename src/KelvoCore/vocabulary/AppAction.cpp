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
AppAction make(QStringList arguments, bool isDestructive, const TextPair& title, const TextPair& detail)
{
    const bool chinese = AppLocalization::currentLanguage() == AppResolvedLanguage::chinese;
    return AppAction{QUuid::createUuid(),
                     chinese ? title.zh : title.en,
                     chinese ? detail.zh : detail.en,
                     std::move(arguments),
                     isDestructive,
                     false};
}

// The advanced-menu vocabulary has Chinese texts only.
AppAction makeChinese(QStringList arguments, const QString& title, const QString& detail)
{
    return AppAction{QUuid::createUuid(), title, detail, std::move(arguments), false, false};
}

QStringList commandWithModes(const QString& command, bool dryRun, bool debug)
{
    QStringList arguments{command};
    if (dryRun)
        arguments << dryRunFlag;
    if (debug)
        arguments << debugFlag;
    return arguments;
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
        return make(commandWithModes(QStringLiteral("clean"), true, debug), false,
                    {QStringLiteral("预览清理项目"), QStringLiteral("Preview Cleanup Items")},
                    {QStringLiteral("只检查可清理项目，不会删除任何内容。"),
                     QStringLiteral("Only check cleanable items. Nothing will be deleted.")});
    return make(
        commandWithModes(QStringLiteral("clean"), false, debug), true,
        {QStringLiteral("开始清理"), QStringLiteral("Start Cleaning")},
        {QStringLiteral("确认后开始清理缓存、日志、残留文件和废纸篓内容；需要管理员权限的系统缓存会跳过。"),
         QStringLiteral("After confirmation, clean caches, logs, leftovers, and Trash. System caches "
                        "requiring admin access will be skipped.")});
}

AppAction cleanWhitelist()
{
    return make({QStringLiteral("clean"), QStringLiteral("--whitelist")}, false,
                {QStringLiteral("编辑保护名单"), QStringLiteral("Edit Protection List")},
                {QStringLiteral("选择永远不要被清理的位置。"),
                 QStringLiteral("Choose locations that should never be cleaned.")});
}

AppAction uninstall(bool dryRun, bool debug)
{
    if (dryRun)
        return make(commandWithModes(QStringLiteral("uninstall"), true, debug), false,
                    {QStringLiteral("预览卸载项目"), QStringLiteral("Preview Uninstall Items")},
                    {QStringLiteral("查看可移除的应用残留，不会删除任何内容。"),
                     QStringLiteral("Review removable app leftovers. Nothing will be deleted.")});
    return make(commandWithModes(QStringLiteral("uninstall"), false, debug), true,
                {QStringLiteral("选择应用卸载"), QStringLiteral("Choose Apps to Uninstall")},
                {QStringLiteral("选择要卸载的应用和相关文件。"),
                 QStringLiteral("Choose the apps and related files to uninstall.")});
}

AppAction optimize(bool dryRun, bool debug)
{
    if (dryRun)
        return make(
            commandWithModes(QStringLiteral("optimize"), true, debug), false,
            {QStringLiteral("预览优化项目"), QStringLiteral("Preview Optimization Items")},
            {QStringLiteral("预览可优化的项目，不会改动电脑。"),
             QStringLiteral("Preview optimization items without changing your %1.").arg(yourComputer())});
    return make(
        commandWithModes(QStringLiteral("optimize"), false, debug), true,
        {QStringLiteral("开始优化"), QStringLiteral("Start Optimizing")},
        {QStringLiteral("确认后刷新系统服务、重建缓存并整理诊断数据。"),
         QStringLiteral("After confirmation, refresh services, rebuild caches, and organize diagnostics.")});
}

AppAction optimizeWhitelist()
{
    return make({QStringLiteral("optimize"), QStringLiteral("--whitelist")}, false,
                {QStringLiteral("编辑优化保护项"), QStringLiteral("Edit Optimization Safeguards")},
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
    if (json)
        return make(std::move(arguments), false,
                    {QStringLiteral("分析空间"), QStringLiteral("Analyze Storage")},
                    {QStringLiteral("检查所选位置，并汇总空间占用。"),
                     QStringLiteral("Scan the selected location and summarize storage usage.")});
    return make(
        std::move(arguments), false, {QStringLiteral("打开详细查看"), QStringLiteral("Open Advanced View")},
        {QStringLiteral("打开更详细的空间查看窗口。"), QStringLiteral("Open a more detailed storage view.")});
}

AppAction status(bool json)
{
    QStringList arguments{QStringLiteral("status")};
    if (json)
        arguments << QStringLiteral("--json");
    return make(std::move(arguments), false, {QStringLiteral("刷新状态"), QStringLiteral("Refresh Status")},
                {QStringLiteral("刷新 CPU、内存、磁盘、电池和网络状态。"),
                 QStringLiteral("Refresh CPU, memory, disk, battery, and network status.")});
}

AppAction purge(bool dryRun, bool debug)
{
    if (dryRun)
        return make(commandWithModes(QStringLiteral("purge"), true, debug), false,
                    {QStringLiteral("预览项目文件"), QStringLiteral("Preview Project Files")},
                    {QStringLiteral("查找可整理的项目文件，不会删除任何内容。"),
                     QStringLiteral("Find project files that can be cleaned up without deleting anything.")});
    return make(
        commandWithModes(QStringLiteral("purge"), false, debug), true,
        {QStringLiteral("选择项目清理"), QStringLiteral("Choose Project Cleanup")},
        {QStringLiteral("选择要清理的项目文件。"), QStringLiteral("Choose the project files to clean up.")});
}

AppAction purgePaths()
{
    return make({QStringLiteral("purge"), QStringLiteral("--paths")}, false,
                {QStringLiteral("配置检查范围"), QStringLiteral("Set Scan Scope")},
                {QStringLiteral("选择项目瘦身要检查的位置。"),
                 QStringLiteral("Choose the locations to scan for project cleanup.")});
}

AppAction installer(bool dryRun, bool debug)
{
    if (dryRun)
        return make(commandWithModes(QStringLiteral("installer"), true, debug), false,
                    {QStringLiteral("预览安装包"), QStringLiteral("Preview Installer Files")},
                    {QStringLiteral("查找安装包文件，不会删除任何内容。"),
                     QStringLiteral("Find installer files without deleting anything.")});
    return make(commandWithModes(QStringLiteral("installer"), false, debug), true,
                {QStringLiteral("选择安装包清理"), QStringLiteral("Choose Installer Cleanup")},
                {QStringLiteral("选择要清理的安装包文件。"),
                 QStringLiteral("Choose the installer files to clean up.")});
}

AppAction touchID(bool dryRun)
{
    const TextPair detail{QStringLiteral("Kelvo 暂不支持 Touch ID 配置。"),
                          QStringLiteral("Touch ID configuration is not available in Kelvo yet.")};
    if (dryRun)
        return make(commandWithModes(QStringLiteral("touchid"), true, false), false,
                    {QStringLiteral("预览 Touch ID"), QStringLiteral("Preview Touch ID")}, detail);
    return make(commandWithModes(QStringLiteral("touchid"), false, false), true,
                {QStringLiteral("启用 Touch ID"), QStringLiteral("Enable Touch ID")}, detail);
}

AppAction completion(bool dryRun)
{
    const TextPair detail{QStringLiteral("Kelvo 暂不支持快捷输入配置。"),
                          QStringLiteral("Shell completion setup is not available in Kelvo yet.")};
    if (dryRun)
        return make(commandWithModes(QStringLiteral("completion"), true, false), false,
                    {QStringLiteral("预览快捷输入"), QStringLiteral("Preview Shell Completion")}, detail);
    return make(commandWithModes(QStringLiteral("completion"), false, false), true,
                {QStringLiteral("启用快捷输入"), QStringLiteral("Enable Shell Completion")}, detail);
}

AppAction update(bool nightly, bool force)
{
    QStringList arguments{QStringLiteral("update")};
    if (nightly)
        arguments << QStringLiteral("--nightly");
    if (force)
        arguments << QStringLiteral("--force");
    return make(std::move(arguments), false,
                {QStringLiteral("检查 Kelvo 更新"), QStringLiteral("Check for Kelvo Updates")},
                {QStringLiteral("从配置的更新源检查是否有新版本。"),
                 QStringLiteral("Check the configured update feed for a newer version.")});
}

AppAction remove(bool dryRun)
{
    const TextPair detail{QStringLiteral("Kelvo 暂不支持从这里移除应用。"),
                          QStringLiteral("Removing Kelvo from this screen is not supported yet.")};
    if (dryRun)
        return make(commandWithModes(QStringLiteral("remove"), true, false), false,
                    {QStringLiteral("预览移除"), QStringLiteral("Preview Removal")}, detail);
    return make(commandWithModes(QStringLiteral("remove"), false, false), true,
                {QStringLiteral("移除 Kelvo"), QStringLiteral("Remove Kelvo")}, detail);
}

AppAction menu()
{
    return makeChinese({}, QStringLiteral("打开高级菜单"), QStringLiteral("打开高级辅助窗口。"));
}

AppAction help()
{
    return makeChinese({QStringLiteral("--help")}, QStringLiteral("查看帮助"),
                       QStringLiteral("查看帮助信息。"));
}

AppAction version()
{
    return makeChinese({QStringLiteral("--version")}, QStringLiteral("查看版本"),
                       QStringLiteral("查看当前版本。"));
}

std::optional<AppFeature> featureForAction(const AppAction& action)
{
    // The first command word found decides, in this order; "status --json" is the dashboard's refresh.
    static const std::pair<const char*, AppFeature> commandFeatures[] = {
        {"clean", AppFeature::clean},       {"uninstall", AppFeature::uninstall},
        {"optimize", AppFeature::optimize}, {"analyze", AppFeature::analyze},
        {"purge", AppFeature::purge},       {"installer", AppFeature::installer},
    };
    const QStringList& arguments = action.arguments;
    for (const auto& [command, feature] : commandFeatures) {
        if (arguments.contains(QLatin1String(command)))
            return feature;
    }
    if (arguments.size() >= 2 && arguments.at(0) == QLatin1String("status") &&
        arguments.at(1) == QLatin1String("--json"))
        return AppFeature::dashboard;
    return std::nullopt;
}

} // namespace AppActionFactory
