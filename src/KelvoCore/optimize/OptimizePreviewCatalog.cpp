#include "optimize/OptimizePreviewCatalog.h"

#include "vocabulary/AppLocalization.h"

namespace OptimizePreviewCatalog {

namespace {

using Item = OptimizePreviewCatalog::Item;

Item item(const char* id, const char* zhName, const char* enName, const char* zhDescription,
          const char* enDescription)
{
    return {QString::fromUtf8(id), QString::fromUtf8(zhName), QString::fromUtf8(enName),
            QString::fromUtf8(zhDescription), QString::fromUtf8(enDescription)};
}

const std::vector<Item>& macItems()
{
    static const std::vector<Item> items{
        item("system_maintenance", "DNS 与 Spotlight 检查", "DNS and Spotlight Check",
             "刷新 DNS 缓存，并检查 Spotlight 当前状态。",
             "Refresh DNS cache and check current Spotlight status."),
        item("cache_refresh", "Finder 缓存刷新", "Finder Cache Refresh",
             "刷新 QuickLook 缩略图和图标服务缓存。",
             "Refresh QuickLook thumbnails and icon service caches."),
        item("saved_state_cleanup", "应用状态清理", "App State Cleanup", "清理较旧的应用保存状态文件。",
             "Clean up older saved app state files."),
        item("fix_broken_configs", "异常配置修复", "Broken Config Repair", "修复损坏或异常的偏好设置文件。",
             "Repair broken or abnormal preference files."),
        item("network_optimization", "网络缓存刷新", "Network Cache Refresh",
             "优化 DNS 缓存，并重启网络解析服务。",
             "Optimize DNS cache and restart network resolution services."),
        item("sqlite_vacuum", "数据库优化", "Database Optimization",
             "整理 Mail、Safari、Messages 等 SQLite 数据库。",
             "Optimize SQLite databases used by Mail, Safari, Messages, and more."),
        item("launch_services_rebuild", "LaunchServices 修复", "LaunchServices Repair",
             "修复“打开方式”和文件关联异常。", "Repair Open With and file association issues."),
        item("font_cache_rebuild", "字体缓存重建", "Font Cache Rebuild", "重建字体数据库，改善渲染异常。",
             "Rebuild the font database to fix rendering issues."),
        item("dock_refresh", "Dock 刷新", "Dock Refresh", "刷新 Dock，修复图标异常和视觉问题。",
             "Refresh the Dock to fix icon and visual issues."),
        item("prevent_network_dsstore", "Finder .DS_Store 优化", "Finder .DS_Store Optimization",
             "调整 Finder 偏好，减少网络卷与外接盘生成 .DS_Store。",
             "Adjust Finder preferences to reduce .DS_Store generation on network and external volumes."),
        item("memory_pressure_relief", "内存优化", "Memory Optimization",
             "释放部分非活跃内存，改善系统响应。", "Release some inactive memory to improve responsiveness."),
        item("network_stack_optimize", "网络栈刷新", "Network Stack Refresh",
             "刷新路由与 ARP 缓存，缓解常见网络异常。",
             "Refresh routing and ARP caches to ease common network issues."),
        item("disk_permissions_repair", "权限修复", "Permissions Repair", "检查并修复用户目录常见权限问题。",
             "Check and repair common permission problems in the user directory."),
        item("bluetooth_reset", "蓝牙刷新", "Bluetooth Refresh", "重启蓝牙模块，缓解连接不稳定问题。",
             "Restart the Bluetooth module to reduce unstable connections."),
        item("spotlight_index_optimize", "Spotlight 优化", "Spotlight Optimization",
             "在需要时整理索引，改善搜索速度。", "Optimize the index when needed to improve search speed."),
        item("periodic_maintenance", "系统周期维护", "Periodic Maintenance", "执行 macOS 日常维护脚本。",
             "Run the standard macOS maintenance scripts."),
        item("shared_file_list_repair", "共享列表修复", "Shared List Repair",
             "修复 Finder 收藏夹和最近项目列表异常。",
             "Repair Finder favorites and recent items list issues."),
        item("disk_verify", "磁盘健康检查", "Disk Health Check", "检查文件系统健康状态。",
             "Check file system health."),
        item("login_items_audit", "登录项检查", "Login Items Check", "检查并整理异常的开机登录项。",
             "Check and organize abnormal login items."),
        item("quarantine_cleanup", "隔离数据库清理", "Quarantine Database Cleanup",
             "清理 Gatekeeper 下载记录历史。", "Clean up Gatekeeper download history."),
        item("launch_agents_cleanup", "启动代理清理", "Launch Agent Cleanup",
             "移除目标程序已不存在的无效启动代理。",
             "Remove invalid launch agents whose target apps no longer exist."),
        item("notification_cleanup", "通知记录清理", "Notification Cleanup",
             "清理旧通知记录，减少数据库体积。",
             "Clean up old notification records to reduce database size."),
        item("coreduet_cleanup", "使用数据清理", "Usage Data Cleanup", "清理旧的系统使用追踪数据。",
             "Clean up old system usage tracking data."),
    };
    return items;
}

// The Linux twins: each step needs no administrator rights and acts only on what the user owns.
const std::vector<Item>& linuxItems()
{
    static const std::vector<Item> items{
        item("dns_cache_flush", "DNS 缓存刷新", "DNS Cache Refresh", "清空 systemd-resolved 的 DNS 缓存。",
             "Flush the DNS cache of systemd-resolved."),
        item("thumbnail_cache_cleanup", "缩略图缓存清理", "Thumbnail Cache Cleanup",
             "清空缩略图缓存；文件管理器会在需要时重新生成缩略图。",
             "Empty the thumbnail cache; file managers make thumbnails again as needed."),
        item("font_cache_rebuild", "字体缓存重建", "Font Cache Rebuild", "重建字体缓存，改善渲染异常。",
             "Rebuild the font cache to fix rendering issues."),
        item("desktop_database_refresh", "应用菜单刷新", "App Menu Refresh",
             "重建你的桌面条目缓存，让菜单和“打开方式”列出你的应用。",
             "Rebuild the cache of your desktop entries so menus and Open With list your apps."),
        item("mime_database_refresh", "文件类型数据库刷新", "File Type Database Refresh",
             "重建你的文件类型数据库，让文件用正确的应用打开。",
             "Rebuild your file type database so files open with the right apps."),
        item("autostart_audit", "自启动检查", "Autostart Check", "列出程序已不存在的自启动项。",
             "List autostart entries whose program no longer exists."),
        item("failed_units_reset", "失败服务重置", "Failed Service Reset", "清除用户服务的失败状态。",
             "Clear the failed state of your user services."),
    };
    return items;
}

} // namespace

OptimizePreviewReport::Entry Item::localizedEntry() const
{
    return {id, AppLocalization::localized(zhName, enName),
            AppLocalization::localized(zhDescription, enDescription), true, std::nullopt};
}

const std::vector<Item>& items(TargetSystem system)
{
    return system == TargetSystem::macOS ? macItems() : linuxItems();
}

const std::vector<Item>& items()
{
    return items(TargetSystems::built());
}

const Item* find(const QString& id, TargetSystem system)
{
    for (const Item& candidate : items(system)) {
        if (candidate.id == id)
            return &candidate;
    }
    return nullptr;
}

OptimizePreviewReport::Entry entry(const QString& id, const QString& fallbackName,
                                   const QString& fallbackDescription, bool safe, TargetSystem system)
{
    const Item* known = find(id, system);
    OptimizePreviewReport::Entry result =
        known ? known->localizedEntry()
              : OptimizePreviewReport::Entry{id, fallbackName, fallbackDescription, safe, std::nullopt};
    result.safe = safe;
    return result;
}

} // namespace OptimizePreviewCatalog
