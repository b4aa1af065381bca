import QtQuick
import Kelvo 1.0

// How full something is, 0 to 1; an unknown value (below 0) draws the empty track only.
Rectangle {
    id: root
    property real fraction: -1
    property color fill: fraction >= 0.95 ? Theme.danger : fraction >= 0.9 ? Theme.warning : Theme.accent

    implicitHeight: 6
    radius: height / 2
    color: Theme.controlFill

    Rectangle {
        objectName: "usageFill"
        visible: root.fraction >= 0
        width: Math.max(height, root.width * Math.min(1, Math.max(0, root.fraction)))
        height: parent.height
        radius: height / 2
        color: root.fill
    }
}
