import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// One entry of an item's action menu; a destructive one is drawn in red, a disabled one greyed and
// never highlighted. A hidden entry takes no room.
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
        color: !root.enabled ? Theme.textTertiary : root.destructive ? Theme.dangerText : Theme.textPrimary
        opacity: root.enabled ? 1 : 0.6
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        implicitWidth: 190
        radius: Theme.radiusSmall
        color: root.highlighted && root.enabled ? Theme.accentSoft : "transparent"
    }
}
