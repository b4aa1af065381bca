pragma Singleton
import QtQuick
import Kelvo 1.0

// The window's look in one place: colours, radii, spacing, type sizes and fonts, plus the one text
// helper every view uses so that its words follow the language choice at once.
QtObject {
    // Chinese first, English second. Bindings that call it re-evaluate when the language changes.
    // Chinese Linux desktops call the Trash 回收站, where macOS says 废纸篓.
    // A count with what it counts: "1 place", "1,234 places" (grouped as the locale groups numbers),
    // "1,234 个位置" with the Chinese measure word.
    function counted(count, measure, one, many) {
        const number = Number(count).toLocaleString(Qt.locale(), "f", 0)
        return t(number + measure, number + (count === 1 ? one : many))
    }
    function t(zh, en) { return Localization.chinese ? (macOS ? zh : zh.replace(/废纸篓/g, "回收站")) : en }
    // Texts that name the system's own things (Finder, "your Mac") have a second wording elsewhere.
    readonly property bool macOS: Qt.platform.os === "osx"
    function bySystem(macText, otherText) { return macOS ? macText : otherText }

    // A byte count in the app's one size format. Reading the language here makes a binding that
    // shows a size follow a language switch ("Zero KB" / "零 KB"), which a call into C++ alone does not.
    function bytes(count) {
        void Localization.chinese
        return SizeText.bytes(count)
    }

    // The eight features as the window names them: the sidebar lists them and every page takes its
    // title from here, so a page is always called what the sidebar calls it. Each feature with the id its sidebar item is named by, its name, symbol, shortcut digit and page.
    readonly property var features: [
        { feature: AppFeature.Dashboard, id: "dashboard", zh: "概览", en: "Overview", icon: "qrc:/icons/overview.svg", page: "dashboard/DashboardPage.qml" },
        { feature: AppFeature.Clean, id: "clean", zh: "智能清理", en: "Smart Clean", icon: "qrc:/icons/smart-clean.svg", page: "clean/CleanPage.qml" },
        { feature: AppFeature.Uninstall, id: "uninstall", zh: "卸载应用", en: "Uninstall Apps", icon: "qrc:/icons/uninstall.svg", page: "uninstall/UninstallPage.qml" },
        { feature: AppFeature.Optimize, id: "optimize", zh: "系统优化", en: "Optimize", icon: "qrc:/icons/optimize.svg", page: "optimize/OptimizePage.qml" },
        { feature: AppFeature.Analyze, id: "analyze", zh: "空间分析", en: "Storage Analysis", icon: "qrc:/icons/storage.svg", page: "analysis/AnalyzeView.qml" },
        { feature: AppFeature.Purge, id: "purge", zh: "项目瘦身", en: "Project Cleanup", icon: "qrc:/icons/project.svg", page: "purge/PurgePage.qml" },
        { feature: AppFeature.Installer, id: "installer", zh: "安装包整理", en: "Installer Cleanup", icon: "qrc:/icons/installer.svg", page: "installer/InstallerPage.qml" },
        { feature: AppFeature.Maintenance, id: "maintenance", zh: "设置", en: "Settings", icon: "qrc:/icons/settings.svg", page: "settings/SettingsPage.qml" }
    ]

    function featureName(feature) {
        const found = features.find(item => item.feature === feature)
        return found ? t(found.zh, found.en) : ""
    }

    // Fonts: the first family of each list that is installed (the system face on macOS). Chinese
    // text needs a Simplified Chinese face (on Linux "Noto Sans CJK SC" from fonts-noto-cjk).
    readonly property var installedFamilies: Qt.fontFamilies()
    function firstInstalled(candidates) {
        for (let i = 0; i < candidates.length; ++i) {
            if (installedFamilies.indexOf(candidates[i]) >= 0)
                return candidates[i]
        }
        return Qt.application.font.family
    }
    readonly property string chineseFamily: firstInstalled(
        ["PingFang SC", "Noto Sans CJK SC", "Source Han Sans SC", "Microsoft YaHei", "WenQuanYi Micro Hei"])
    readonly property string latinFamily: macOS
        ? Qt.application.font.family
        : firstInstalled(["Inter", "Noto Sans", "Cantarell", "Noto Sans CJK SC", "DejaVu Sans"])
    readonly property string fontFamily: Localization.chinese ? chineseFamily : latinFamily
    readonly property string monoFamily: firstInstalled(
        ["SF Mono", "Menlo", "JetBrains Mono", "Noto Sans Mono CJK SC", "Noto Sans Mono", "DejaVu Sans Mono"])

    // Type scale (pixels)
    readonly property int fontCaption: 11
    readonly property int fontSmall: 12
    readonly property int fontBody: 13
    readonly property int fontHeadline: 15
    readonly property int fontSection: 17
    readonly property int fontTitle: 26
    readonly property int fontBrand: 20

    // Text colours
    readonly property color textPrimary: "#1d1d1f"
    readonly property color textSecondary: "#5b5b63"
    readonly property color textTertiary: "#8a8a92"
    readonly property color textOnAccent: "#ffffff"

    // Accent and state colours
    readonly property color accent: "#0a72ef"
    readonly property color accentPressed: "#075bc2"
    readonly property color accentSoft: Qt.rgba(0.04, 0.45, 0.94, 0.12)
    readonly property color success: "#2ea44f"
    readonly property color warning: "#d98a00"
    readonly property color danger: "#e0443e"

    // Surfaces: translucent glass over the window background
    readonly property color sidebarFill: Qt.rgba(0.97, 0.975, 0.99, 0.62)
    readonly property color sidebarFillPlain: Qt.rgba(0.97, 0.975, 0.99, 0.72)
    readonly property color panelFill: Qt.rgba(1, 1, 1, 0.74)
    readonly property color sheetFill: "#fafafc"
    readonly property color contentVeil: Qt.rgba(0.98, 0.98, 1, 0.5)
    readonly property color panelStroke: Qt.rgba(1, 1, 1, 0.85)
    readonly property color hairline: Qt.rgba(0, 0, 0, 0.08)
    readonly property color chipFill: Qt.rgba(0.04, 0.45, 0.94, 0.09)
    readonly property color chipText: "#0b5cc0"
    readonly property color controlFill: Qt.rgba(0, 0, 0, 0.055)
    readonly property color controlFillPressed: Qt.rgba(0, 0, 0, 0.11)
    readonly property color scrim: Qt.rgba(0.08, 0.09, 0.12, 0.28)

    // Window colour under the background
    readonly property color backdropTop: "#e7eefb"

    // Radii
    readonly property int radiusSmall: 6
    readonly property int radiusControl: 8
    readonly property int radiusCard: 14
    readonly property int radiusSheet: 16

    // Spacing
    readonly property int spacingTight: 4
    readonly property int spacingSmall: 8
    readonly property int spacing: 12
    readonly property int spacingLarge: 20
    readonly property int pageMargin: 32

    // Sizes
    readonly property int sidebarWidth: 244
    readonly property int titleBarHeight: 44
    readonly property int statusStripHeight: 44
    readonly property int contentMaxWidth: 860
}
