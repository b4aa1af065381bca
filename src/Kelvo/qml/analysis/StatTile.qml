import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One figure of a summary: a small caption over a large value. A path value is shortened in the
// middle rather than cut at its end.
Rectangle {
    id: root
    property string caption
    property string value
    property bool isPath: false
    readonly property Item valueItem: isPath ? pathValue : plainValue

    implicitWidth: 180
    implicitHeight: column.implicitHeight + 24
    radius: Theme.radiusControl + 2
    color: Theme.statTileFill
    border.color: Theme.hairline

    ColumnLayout {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        anchors.leftMargin: 14
        anchors.rightMargin: 14
        spacing: 4
        Label {
            objectName: "statCaption"
            Layout.fillWidth: true
            text: root.caption
            color: Theme.textSecondary
            font.pixelSize: Theme.fontSmall
            elide: Text.ElideRight
        }
        Label {
            id: plainValue
            objectName: "statValue"
            Layout.fillWidth: true
            visible: !root.isPath
            text: root.value
            color: Theme.textPrimary
            font.pixelSize: Theme.fontSection
            font.weight: Font.DemiBold
            elide: Text.ElideRight
        }
        PathLabel {
            id: pathValue
            objectName: "statValue"
            Layout.fillWidth: true
            Layout.preferredHeight: plainValue.implicitHeight
            visible: root.isPath
            verticalAlignment: Text.AlignVCenter
            text: root.value
            font.weight: Font.Medium
        }
    }
}
