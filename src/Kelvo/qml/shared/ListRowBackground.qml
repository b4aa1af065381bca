import QtQuick
import Kelvo 1.0

// The backdrop of one row of a results list: a hairline above every row but the first, and a light
// tint while the pointer is over it.
Item {
    id: root
    property bool first: false
    property bool hovered: false

    Rectangle {
        anchors.fill: parent
        anchors.topMargin: 2
        anchors.bottomMargin: 2
        radius: Theme.radiusControl
        color: root.hovered ? Theme.rowHoverFill : "transparent"
    }
    Rectangle {
        visible: !root.first
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        height: 1
        color: Theme.hairline
    }
}
