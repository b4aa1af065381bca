import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The headings over a table's columns: the first one takes the free width, each of `columns`
// ({ title, width }) sits right-aligned in its fixed width, as the rows below lay out their cells.
Item {
    id: root
    property string firstTitle
    property var columns: []
    property int leadingInset: 0
    property int trailingInset: 0

    implicitHeight: row.implicitHeight + 8

    RowLayout {
        id: row
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        anchors.leftMargin: 12 + root.leadingInset
        anchors.rightMargin: 6 + root.trailingInset
        spacing: Theme.spacing

        Label {
            objectName: "columnTitle"
            Layout.fillWidth: true
            text: root.firstTitle
            color: Theme.textTertiary
            font.pixelSize: Theme.fontCaption
            font.weight: Font.DemiBold
            elide: Text.ElideRight
        }
        Repeater {
            model: root.columns
            delegate: Label {
                required property var modelData
                objectName: "columnTitle"
                Layout.preferredWidth: modelData.width
                horizontalAlignment: Text.AlignRight
                text: modelData.title
                color: Theme.textTertiary
                font.pixelSize: Theme.fontCaption
                font.weight: Font.DemiBold
                elide: Text.ElideRight
            }
        }
    }
    Rectangle {
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        height: 1
        color: Theme.hairline
    }
}
