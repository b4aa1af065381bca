import QtQuick
import Kelvo 1.0

// A thin bar filled in proportion to `share` (0 to 1): how much of the whole one item takes.
Rectangle {
    id: root
    property real share: 0
    readonly property real fillWidth: fill.width

    implicitWidth: 120
    implicitHeight: 6
    radius: height / 2
    color: Theme.controlFill

    Rectangle {
        id: fill
        width: Math.max(root.share > 0 ? root.height : 0, Math.min(1, Math.max(0, root.share)) * root.width)
        height: root.height
        radius: height / 2
        color: Theme.accent
        opacity: 0.8
    }
}
