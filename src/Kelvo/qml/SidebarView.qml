import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQml.Models
import Kelvo 1.0

// The left column: the window buttons (on macOS), the brand and the eight features. Up and down
// arrows move the choice; Ctrl+1 to Ctrl+8 (Command on macOS) jump straight to an item.
FocusScope {
    id: root
    property var window
    property Item backdrop

    // Each feature with the id its item is named by and the page that shows it.
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
    readonly property int currentIndex: features.findIndex(item => item.feature === AppModel.selectedFeature)

    function choose(index) {
        if (index >= 0 && index < features.length)
            AppModel.selectedFeature = features[index].feature
    }

    objectName: "sidebar"
    focus: true
    activeFocusOnTab: true
    Keys.onUpPressed: choose(Math.max(0, currentIndex - 1))
    Keys.onDownPressed: choose(Math.min(features.length - 1, currentIndex + 1))

    Instantiator {
        model: root.features.length
        delegate: Shortcut {
            required property int index
            sequence: "Ctrl+" + (index + 1)
            onActivated: root.choose(index)
        }
    }

    FrostedGlass {
        anchors.fill: parent
        backdrop: root.backdrop
    }
    Rectangle {
        anchors.right: parent.right
        width: 1
        height: parent.height
        color: Theme.hairline
    }

    // On macOS the window's own title bar: the area that moves it and the three window buttons.
    Loader {
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        height: Theme.titleBarHeight
        active: Theme.macOS
        sourceComponent: Item {
            WindowDragArea {
                anchors.fill: parent
                window: root.window
            }
            WindowControls {
                x: 18
                y: (parent.height - height) / 2
                window: root.window
            }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.topMargin: Theme.titleBarHeight + 6
        anchors.leftMargin: 14
        anchors.rightMargin: 14
        anchors.bottomMargin: Theme.spacingLarge
        spacing: 2

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 6
            Layout.bottomMargin: Theme.spacingLarge + 2
            spacing: 10
            BrandMark { size: 34 }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 1
                Label {
                    objectName: "brandName"
                    text: "Kelvo"
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontBrand
                    font.weight: Font.Bold
                }
                Label {
                    objectName: "brandSubtitle"
                    Layout.fillWidth: true
                    text: Theme.bySystem(Theme.t("Mac 清理与优化", "Mac Cleanup & Optimization"),
                                        Theme.t("Linux 清理与优化", "Linux Cleanup & Optimization"))
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                    elide: Text.ElideRight
                }
            }
        }

        Repeater {
            id: items
            objectName: "sidebarItems"
            model: root.features
            delegate: SidebarItem {
                required property var modelData
                required property int index
                objectName: "sidebarItem_" + modelData.id
                Layout.fillWidth: true
                text: Theme.t(modelData.zh, modelData.en)
                symbol: modelData.icon
                selected: AppModel.selectedFeature === modelData.feature
                running: AppModel.run.isRunning && AppModel.run.runningFeature === modelData.feature
                onClicked: {
                    root.choose(index)
                    root.forceActiveFocus()
                }
            }
        }

        Item { Layout.fillHeight: true }
    }
}
