import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// One entry of an item's action menu; a destructive one is drawn in red. A hidden entry takes no room.
MenuItem {
    id: root
    property bool destructive: false

    height: visible ? implicitHeight : 0
    implicitHeight: 30
    leftPadding: 12
    rightPadding: 16
    font.pixelSize: Theme.fontBody

    contentItem: Label {
        text: root.text
        font: root.font
        color: root.destructive ? Theme.danger : Theme.textPrimary
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        implicitWidth: 190
        radius: Theme.radiusSmall
        color: root.highlighted ? Theme.accentSoft : "transparent"
    }
}
