import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One entry of a Smart Clean report: its check box, where it is, what it holds and its status. An
// entry the clean leaves alone (a browser that is running) is tinted amber, and its message stands in
// for a path. An entry that would free nothing (empty, or kept whole by the protection list) has no
// check box and says so in its tag. Space toggles the focused box; the owner keeps the choice.
Item {
    id: root
    property string path
    property string note
    property int status
    property bool first: false
    property bool choosable: false
    property bool chosen: false
    signal toggled()
    // The box took the keyboard focus, so the page can bring it into view.

    readonly property bool skipped: status === CleanEntryStatus.Skipped

    objectName: "cleanEntryRow"
    Accessible.role: Accessible.ListItem
    Accessible.name: path
    Accessible.description: note
    implicitHeight: row.implicitHeight + 12

    Rectangle {
        anchors.fill: parent
        anchors.topMargin: 2
        anchors.bottomMargin: 2
        radius: Theme.radiusControl
        color: root.skipped ? Theme.skippedRowFill : hover.hovered ? Theme.rowHoverFill : "transparent"
    }
    Rectangle {
        visible: root.skipped
        x: 0
        anchors.verticalCenter: parent.verticalCenter
        width: 3
        height: parent.height - 16
        radius: 1.5
        color: Theme.warning
    }
    Rectangle {
        visible: !root.first && !root.skipped
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        height: 1
        color: Theme.hairline
    }
    HoverHandler {
        id: hover
    }

    RowLayout {
        id: row
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        spacing: Theme.spacing

        // The same width with or without a box, so that the paths line up.
        Item {
            Layout.preferredWidth: 18
            Layout.preferredHeight: 18
            Layout.alignment: Qt.AlignVCenter
            SelectBox {
                id: box
                objectName: "cleanEntrySelectBox"
                anchors.fill: parent
                visible: root.choosable
                selected: root.chosen
                Accessible.name: root.path
                onClicked: root.toggled()
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            PathLabel {
                objectName: "entryPath"
                Layout.fillWidth: true
                text: root.path
                color: root.skipped ? Theme.warningText : Theme.textPrimary
                font.weight: Font.Medium
            }
            Label {
                objectName: "entryNote"
                Layout.fillWidth: true
                visible: text.length > 0
                text: root.note
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
                elide: Text.ElideRight
            }
        }
        CleanStatusChip {
            objectName: "entryStatus"
            Layout.alignment: Qt.AlignVCenter
            status: root.status
            nothingToFree: root.status === CleanEntryStatus.Cleanable && !root.choosable
        }
    }
}
