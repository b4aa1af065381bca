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
        color: root.checked ? Theme.accent : Qt.rgba(0, 0, 0, 0.16)
        border.width: root.visualFocus ? 2 : 0
        border.color: Qt.rgba(0.04, 0.45, 0.94, 0.45)
        Behavior on color { ColorAnimation { duration: 120 } }

        Rectangle {
            width: 20
            height: 20
            radius: 10
            y: 2
            x: root.checked ? parent.width - width - 2 : 2
            color: "#ffffff"
            border.color: Qt.rgba(0, 0, 0, 0.08)
            Behavior on x { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }
        }
    }
    contentItem: Item {}
}
