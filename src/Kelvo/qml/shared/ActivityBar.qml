import QtQuick
import Kelvo 1.0

// An indeterminate progress bar: a short segment glides along the track while the bar is shown.
Rectangle {
    id: root

    implicitHeight: 4
    radius: height / 2
    color: Theme.controlFill
    clip: true

    Rectangle {
        id: segment
        width: Math.max(40, root.width * 0.28)
        height: root.height
        radius: height / 2
        color: Theme.accent

        NumberAnimation on x {
            from: -segment.width
            to: root.width
            duration: 1300
            loops: Animation.Infinite
            easing.type: Easing.InOutQuad
            running: root.visible
        }
    }
}
