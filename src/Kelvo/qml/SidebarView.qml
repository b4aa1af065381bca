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

    readonly property var features: Theme.features
    readonly property int currentIndex: features.findIndex(item => item.feature === AppModel.selectedFeature)

    function choose(index) {
        if (index >= 0 && index < features.length)
            AppModel.selectedFeature = features[index].feature
    }

    objectName: "sidebar"
    Accessible.role: Accessible.PageTabList
    Accessible.name: Theme.t("功能", "Features")
    Accessible.description: Theme.t("用上下方向键选择页面", "Use the up and down arrow keys to choose a page")
    focus: true
    activeFocusOnTab: true
    Keys.onUpPressed: choose(Math.max(0, currentIndex - 1))
    Keys.onDownPressed: choose(Math.min(features.length - 1, currentIndex + 1))

    Instantiator {
        id: shortcuts
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
                shortcutText: shortcuts.objectAt(index) ? shortcuts.objectAt(index).nativeText : ""
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
