import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// An on/off switch drawn like the system's.
Switch {
    id: root
    padding: 0
    spacing: 0
    implicitWidth: indicator.implicitWidth + leftPadding + rightPadding
    implicitHeight: indicator.implicitHeight + topPadding + bottomPadding
    hoverEnabled: true

    indicator: Rectangle {
        implicitWidth: 40
        implicitHeight: 24
        x: root.leftPadding
        anchors.verticalCenter: parent.verticalCenter
        radius: height / 2
        color: root.checked ? Theme.accent : Theme.switchOffFill
        border.width: root.visualFocus ? 2 : 0
        border.color: Theme.focusRing
        Behavior on color { ColorAnimation { duration: 120 } }

        Rectangle {
            width: 20
            height: 20
            radius: 10
            y: 2
            x: root.checked ? parent.width - width - 2 : 2
            color: Theme.knobFill
            border.color: Theme.knobStroke
            Behavior on x { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }
        }
    }
    contentItem: Item {}
}
