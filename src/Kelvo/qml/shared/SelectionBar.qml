import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// Above a selectable table: "Select All", "Clear Selection", the count of chosen rows and, at the
// right end, the button that acts on them (enabled once something is chosen and nothing else runs).
RowLayout {
    id: root
    property int selectedCount: 0
    property int selectableCount: 0
    property string actionText
    property bool busy: false
    signal selectAllRequested()
    signal clearRequested()
    signal actionRequested()

    spacing: Theme.spacingSmall

    KButton {
        objectName: "selectAllButton"
        enabled: root.selectableCount > 0 && root.selectedCount < root.selectableCount
        text: Theme.t("全选", "Select All")
        onClicked: root.selectAllRequested()
    }
    KButton {
        objectName: "clearSelectionButton"
        enabled: root.selectedCount > 0
        text: Theme.t("取消全选", "Clear Selection")
        onClicked: root.clearRequested()
    }
    Label {
        objectName: "selectedCountLabel"
        Layout.leftMargin: 4
        text: Theme.t("已选 " + root.selectedCount + " 个", root.selectedCount + " selected")
        color: Theme.textSecondary
        font.pixelSize: Theme.fontBody
    }
    Item {
        Layout.fillWidth: true
    }
    KButton {
        objectName: "selectionActionButton"
        primary: true
        enabled: root.selectedCount > 0 && !root.busy
        text: root.actionText
        onClicked: root.actionRequested()
    }
}
