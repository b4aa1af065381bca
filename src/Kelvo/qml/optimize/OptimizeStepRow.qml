import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One maintenance step: its name and what it is for, what is there now, and its tag with why (what
// a run will do with it, or what became of it in the last run, with the time it took).
Item {
    id: root
    property string name
    property string description
    property string detail
    property string stateLabel
    property int tone: OptimizeStepModel.Skip
    property string stateText
    property string durationText
    property bool first: false

    objectName: "optimizeRow"
    Accessible.role: Accessible.ListItem
    Accessible.name: stateText.length > 0 ? name + ", " + stateText : name
    Accessible.description: description
    implicitHeight: row.implicitHeight + 18

    ListRowBackground {
        anchors.fill: parent
        first: root.first
        hovered: hover.hovered
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

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            Label {
                objectName: "rowName"
                Layout.fillWidth: true
                text: root.name
                color: Theme.textPrimary
                font.pixelSize: Theme.fontBody
                font.weight: Font.Medium
                wrapMode: Text.WordWrap
            }
            Label {
                objectName: "rowDescription"
                Layout.fillWidth: true
                text: root.description
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
                wrapMode: Text.WordWrap
            }
            Label {
                objectName: "rowDetail"
                Layout.fillWidth: true
                visible: text.length > 0
                text: root.detail
                color: Theme.chipText
                font.pixelSize: Theme.fontSmall
                wrapMode: Text.WordWrap
            }
            Label {
                objectName: "rowStateText"
                Layout.fillWidth: true
                visible: text.length > 0
                text: root.stateText
                color: root.tone === OptimizeStepModel.Failed ? Theme.dangerText : Theme.textTertiary
                font.pixelSize: Theme.fontSmall
                wrapMode: Text.WordWrap
            }
        }
        ColumnLayout {
            Layout.alignment: Qt.AlignTop
            spacing: 4
            StepStateChip {
                objectName: "rowState"
                Layout.alignment: Qt.AlignRight
                text: root.stateLabel
                tone: root.tone
            }
            Label {
                objectName: "rowDuration"
                Layout.alignment: Qt.AlignRight
                visible: text.length > 0
                text: root.durationText
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
            }
        }
    }
}
