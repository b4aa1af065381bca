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

    // Colours: each one in the light and the dark scheme, chosen by the scheme in effect.
    readonly property bool dark: AppModel.appearance.dark
    function withAlpha(colour, alpha) { return Qt.rgba(colour.r, colour.g, colour.b, alpha) }

    // Text colours
    readonly property color textPrimary: dark ? "#f2f2f7" : "#1d1d1f"
    readonly property color textSecondary: dark ? "#b9b9c3" : "#45454c"
    readonly property color textTertiary: dark ? "#a4a4af" : "#56565d"
    readonly property color textOnAccent: "#ffffff"
    // Text in a state's colour (links, warnings, failures) where it sits on panels and sheets.
    readonly property color accentText: dark ? "#7ab4ff" : "#0850b0"
    readonly property color successText: dark ? "#6fd48d" : "#17692f"
    readonly property color warningText: dark ? "#f0b54a" : "#7d4f00"
    readonly property color dangerText: dark ? "#ff8a84" : "#b0241f"

    // Accent and state colours (fills, bars, marks)
    readonly property color accent: dark ? "#2a6fd6" : "#0a6ae0"
    readonly property color accentPressed: dark ? "#245fb8" : "#075bc2"
    readonly property color accentSoft: dark ? Qt.rgba(0.3, 0.55, 1, 0.2) : Qt.rgba(0.04, 0.45, 0.94, 0.12)
    readonly property color success: dark ? "#3fb760" : "#2ea44f"
    readonly property color warning: dark ? "#e6a23c" : "#d98a00"
    readonly property color danger: dark ? "#f0625c" : "#e0443e"
    // The soft fills of tags in a state's colour.
    readonly property color successSoft: withAlpha(success, dark ? 0.2 : 0.15)
    readonly property color warningSoft: withAlpha(warning, dark ? 0.2 : 0.15)
    readonly property color dangerSoft: withAlpha(danger, dark ? 0.2 : 0.15)
    readonly property color neutralSoft: withAlpha(textTertiary, 0.15)
    readonly property color focusRing: dark ? Qt.rgba(0.45, 0.68, 1, 0.7) : Qt.rgba(0.04, 0.45, 0.94, 0.45)

    // Surfaces: translucent glass over the window background
    readonly property color sidebarFill: dark ? Qt.rgba(0.09, 0.095, 0.115, 0.62) : Qt.rgba(0.97, 0.975, 0.99, 0.62)
    readonly property color sidebarFillPlain: dark ? Qt.rgba(0.09, 0.095, 0.115, 0.78) : Qt.rgba(0.97, 0.975, 0.99, 0.72)
    readonly property color panelFill: dark ? Qt.rgba(0.15, 0.155, 0.18, 0.74) : Qt.rgba(1, 1, 1, 0.74)
    readonly property color sheetFill: dark ? "#24252b" : "#fafafc"
    readonly property color contentVeil: dark ? Qt.rgba(0.07, 0.075, 0.09, 0.5) : Qt.rgba(0.98, 0.98, 1, 0.5)
    readonly property color imageVeil: dark ? Qt.rgba(0, 0, 0, 0.3) : Qt.rgba(1, 1, 1, 0.12)
    readonly property color panelStroke: dark ? Qt.rgba(1, 1, 1, 0.07) : Qt.rgba(1, 1, 1, 0.85)
    readonly property color hairline: dark ? Qt.rgba(1, 1, 1, 0.1) : Qt.rgba(0, 0, 0, 0.08)
    readonly property color chipFill: dark ? Qt.rgba(0.3, 0.55, 1, 0.16) : Qt.rgba(0.04, 0.45, 0.94, 0.09)
    readonly property color chipText: dark ? "#8cc0ff" : "#0b5cc0"
    readonly property color controlFill: dark ? Qt.rgba(1, 1, 1, 0.08) : Qt.rgba(0, 0, 0, 0.055)
    readonly property color controlFillHovered: dark ? Qt.rgba(1, 1, 1, 0.12) : Qt.rgba(0, 0, 0, 0.08)
    readonly property color controlFillPressed: dark ? Qt.rgba(1, 1, 1, 0.16) : Qt.rgba(0, 0, 0, 0.11)
    readonly property color rowHoverFill: dark ? Qt.rgba(1, 1, 1, 0.045) : Qt.rgba(0, 0, 0, 0.035)
    readonly property color skippedRowFill: withAlpha(warning, dark ? 0.12 : 0.09)
    readonly property color fieldFill: dark ? Qt.rgba(0, 0, 0, 0.22) : Qt.rgba(1, 1, 1, 0.62)
    readonly property color editorFill: dark ? "#1b1c21" : "#ffffff"
    readonly property color statTileFill: dark ? Qt.rgba(1, 1, 1, 0.05) : Qt.rgba(1, 1, 1, 0.55)
    readonly property color sidebarSelectedFill: dark ? Qt.rgba(1, 1, 1, 0.12) : Qt.rgba(1, 1, 1, 0.82)
    readonly property color sidebarSelectedStroke: dark ? Qt.rgba(1, 1, 1, 0.06) : Qt.rgba(0, 0, 0, 0.05)
    readonly property color sidebarHoverFill: dark ? Qt.rgba(1, 1, 1, 0.06) : Qt.rgba(1, 1, 1, 0.42)
    readonly property color sidebarPressedFill: dark ? Qt.rgba(1, 1, 1, 0.09) : Qt.rgba(0, 0, 0, 0.07)
    readonly property color segmentChosenFill: dark ? Qt.rgba(1, 1, 1, 0.16) : "#ffffff"
    readonly property color segmentHoverFill: dark ? Qt.rgba(1, 1, 1, 0.07) : Qt.rgba(1, 1, 1, 0.45)
    // Check boxes and switches
    readonly property color boxFill: dark ? "#2c2d33" : "#ffffff"
    readonly property color boxFillHovered: dark ? "#35373e" : "#f3f6fb"
    readonly property color boxStroke: dark ? Qt.rgba(1, 1, 1, 0.3) : Qt.rgba(0, 0, 0, 0.22)
    readonly property color markOnAccent: "#ffffff"
    readonly property color switchOffFill: dark ? Qt.rgba(1, 1, 1, 0.2) : Qt.rgba(0, 0, 0, 0.16)
    readonly property color knobFill: dark ? "#f2f2f7" : "#ffffff"
    readonly property color knobStroke: dark ? Qt.rgba(0, 0, 0, 0.3) : Qt.rgba(0, 0, 0, 0.08)
    // Tooltips, shadows and the scrim behind sheets
    readonly property color tooltipFill: dark ? Qt.rgba(0.27, 0.28, 0.32, 0.97) : Qt.rgba(0.12, 0.13, 0.16, 0.92)
    readonly property color tooltipText: "#ffffff"
    readonly property color shadow: dark ? "#000000" : "#141a33"
    readonly property real shadowScale: dark ? 2.5 : 1
    readonly property color scrim: dark ? Qt.rgba(0, 0, 0, 0.5) : Qt.rgba(0.08, 0.09, 0.12, 0.28)
    readonly property real auraStrength: dark ? 0.3 : 0.22

    // The mark's colours and the window lights of the macOS title bar, the same in both schemes.
    readonly property color brandTop: "#4aa3ff"
    readonly property color brandBottom: "#2f5bea"
    readonly property color brandStroke: Qt.rgba(1, 1, 1, 0.35)
    readonly property color windowCloseLight: "#ff5f57"
    readonly property color windowMinimizeLight: "#febc2e"
    readonly property color windowZoomLight: "#28c840"
    readonly property color windowLightStroke: Qt.rgba(0, 0, 0, 0.12)

    // The storage treemap: folders by depth; files by type (video, images, audio, archives, disk
    // images, code, documents, other); the merged small items; the gap between tiles.
    readonly property var treemapFolderColours: dark ? ["#2b3a52", "#33445c", "#3b4e68"]
                                                     : ["#c9d8ee", "#d6e4f3", "#e3edf8"]
    readonly property var treemapTypeColours: dark
        ? ["#7a4636", "#2f6a48", "#5b4886", "#715b22", "#2f5a85", "#2e6670", "#6f4062", "#4a4f59"]
        : ["#e7b7a3", "#9fcfb3", "#c4b3e3", "#e6cf95", "#9ec3e6", "#a9d4d9", "#d7b4cb", "#d5d9e0"]
    readonly property color treemapMergedFill: dark ? "#3a3d44" : "#e4e6ea"
    readonly property color treemapTileStroke: dark ? Qt.rgba(0, 0, 0, 0.45) : Qt.rgba(1, 1, 1, 0.8)

    // The window background: the window colour under it and the gradient drawn over it.
    readonly property color backdropTop: dark ? "#161a22" : "#e7eefb"
    // The scroll bars' handles, idle and pressed.
    readonly property color scrollHandle: dark ? Qt.rgba(1, 1, 1, 0.3) : Qt.rgba(0, 0, 0, 0.3)
    readonly property color scrollHandlePressed: dark ? Qt.rgba(1, 1, 1, 0.5) : Qt.rgba(0, 0, 0, 0.5)
    readonly property url backdropImage: dark ? "qrc:/icons/backdrop-dark.svg" : "qrc:/icons/backdrop.svg"

    // Every text colour with each surface it is drawn on, for the contrast check. `on` lists the
    // surfaces from the nearest outwards, all over the window background (no surface: straight on
    // it); a list of colours stands for each of them. Large text (18 px, or 14 px bold) needs 3:1,
    // all other text 4.5:1.
    readonly property var contrastPairs: [
        { text: "textPrimary", on: [] },
        { text: "textPrimary", on: ["panelFill"] },
        { text: "textPrimary", on: ["sidebarFill"] },
        { text: "textPrimary", on: ["sidebarFillPlain"] },
        { text: "textPrimary", on: ["sidebarSelectedFill", "sidebarFillPlain"] },
        { text: "textPrimary", on: ["sidebarHoverFill", "sidebarFillPlain"] },
        { text: "textPrimary", on: ["sheetFill"] },
        { text: "textPrimary", on: ["editorFill"] },
        { text: "textPrimary", on: ["fieldFill", "panelFill"] },
        { text: "textPrimary", on: ["fieldFill"] },
        { text: "textPrimary", on: ["controlFillPressed", "panelFill"] },
        { text: "textPrimary", on: ["segmentChosenFill", "controlFill", "panelFill"] },
        { text: "textPrimary", on: ["statTileFill", "panelFill"] },
        { text: "textPrimary", on: ["accentSoft", "sheetFill"] },
        { text: "textPrimary", on: ["skippedRowFill", "panelFill"] },
        { text: "textPrimary", on: ["treemapFolderColours"] },
        { text: "textPrimary", on: ["treemapTypeColours"] },
        { text: "textPrimary", on: ["treemapMergedFill"] },
        { text: "textSecondary", on: [] },
        { text: "textSecondary", on: ["panelFill"] },
        { text: "textSecondary", on: ["sidebarFill"] },
        { text: "textSecondary", on: ["sheetFill"] },
        { text: "textSecondary", on: ["statTileFill", "panelFill"] },
        { text: "textSecondary", on: ["rowHoverFill", "panelFill"] },
        { text: "textSecondary", on: ["neutralSoft", "panelFill"] },
        { text: "textTertiary", on: [] },
        { text: "textTertiary", on: ["panelFill"] },
        { text: "textTertiary", on: ["sheetFill"] },
        { text: "textTertiary", on: ["rowHoverFill", "panelFill"] },
        { text: "textOnAccent", on: ["accent"] },
        { text: "textOnAccent", on: ["accentPressed"] },
        { text: "tooltipText", on: ["tooltipFill", "panelFill"] },
        { text: "chipText", on: ["chipFill", "panelFill"] },
        { text: "accentText", on: [] },
        { text: "accentText", on: ["panelFill"] },
        { text: "accentText", on: ["sheetFill"] },
        { text: "accentText", on: ["accentSoft", "panelFill"] },
        { text: "successText", on: ["panelFill"] },
        { text: "successText", on: ["successSoft", "panelFill"] },
        { text: "warningText", on: ["panelFill"] },
        { text: "warningText", on: ["warningSoft", "panelFill"] },
        { text: "warningText", on: ["skippedRowFill", "panelFill"] },
        { text: "dangerText", on: ["panelFill"] },
        { text: "dangerText", on: ["sheetFill"] },
        { text: "dangerText", on: ["dangerSoft", "panelFill"] }
    ]

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
    // The top band: on macOS the hidden title bar with the window buttons, elsewhere a margin under
    // the system's own title bar.
    readonly property int titleBarHeight: macOS ? 44 : 16
    readonly property int statusStripHeight: 44
    readonly property int contentMaxWidth: 860
}
