pragma Singleton
import QtQuick
import Kelvo 1.0

// The eight features as the window names them: the sidebar lists them and every page takes its title
// from here, so a page is always called what the sidebar calls it.
QtObject {
    // Each feature with the id its sidebar item is named by, its name, symbol, shortcut digit and page.
    readonly property var all: [
        { feature: AppFeature.Dashboard, id: "dashboard", zh: "概览", en: "Overview", icon: "qrc:/icons/overview.svg", page: "dashboard/DashboardPage.qml" },
        { feature: AppFeature.Clean, id: "clean", zh: "智能清理", en: "Smart Clean", icon: "qrc:/icons/smart-clean.svg", page: "clean/CleanPage.qml" },
        { feature: AppFeature.Uninstall, id: "uninstall", zh: "卸载应用", en: "Uninstall Apps", icon: "qrc:/icons/uninstall.svg", page: "uninstall/UninstallPage.qml" },
        { feature: AppFeature.Optimize, id: "optimize", zh: "系统优化", en: "Optimize", icon: "qrc:/icons/optimize.svg", page: "optimize/OptimizePage.qml" },
        { feature: AppFeature.Analyze, id: "analyze", zh: "空间分析", en: "Storage Analysis", icon: "qrc:/icons/storage.svg", page: "analysis/AnalyzeView.qml" },
        { feature: AppFeature.Purge, id: "purge", zh: "项目瘦身", en: "Project Cleanup", icon: "qrc:/icons/project.svg", page: "purge/PurgePage.qml" },
        { feature: AppFeature.Installer, id: "installer", zh: "安装包整理", en: "Installer Cleanup", icon: "qrc:/icons/installer.svg", page: "installer/InstallerPage.qml" },
        { feature: AppFeature.Maintenance, id: "maintenance", zh: "设置", en: "Settings", icon: "qrc:/icons/settings.svg", page: "settings/SettingsPage.qml" }
    ]

    function indexOf(feature) { return all.findIndex(item => item.feature === feature) }
    function nameOf(feature) {
        const found = all[indexOf(feature)]
        return found ? Theme.t(found.zh, found.en) : ""
    }
}
