import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One setting: a title and explanation on the left, its controls on the right.
RowLayout {
    id: root
    property string title
    property string detail
    default property alias trailing: controls.data

    Layout.fillWidth: true
    spacing: Theme.spacingLarge

    ColumnLayout {
        Layout.fillWidth: true
        Layout.alignment: Qt.AlignVCenter
        spacing: 3
        Label {
            Layout.fillWidth: true
            visible: root.title.length > 0
            text: root.title
            color: Theme.textPrimary
            font.pixelSize: Theme.fontBody + 1
            font.weight: Font.Medium
            wrapMode: Text.WordWrap
        }
        BodyText {
            Layout.fillWidth: true
            visible: root.detail.length > 0
            text: root.detail
            font.pixelSize: Theme.fontSmall + 0.5
        }
    }
    Row {
        id: controls
        Layout.alignment: Qt.AlignVCenter | Qt.AlignRight
        spacing: Theme.spacingSmall
    }
}
