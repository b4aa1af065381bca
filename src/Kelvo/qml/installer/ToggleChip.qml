import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A rounded on/off choice in a filter bar; the owner keeps the state in `active`.
AbstractButton {
    id: root
    property bool active: false

    implicitHeight: 28
    leftPadding: 12
    rightPadding: 12
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    font.pixelSize: Theme.fontSmall
    font.weight: Font.Medium
    Accessible.role: Accessible.CheckBox
    Accessible.name: text
    Accessible.checked: active

    contentItem: Label {
        text: root.text
        font: root.font
        color: root.active ? Theme.chipText : Theme.textPrimary
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        radius: height / 2
        color: root.active ? Theme.chipFill : root.hovered ? Theme.controlFillHovered : Theme.controlFill
        border.width: root.visualFocus ? 2 : 1
        border.color: root.visualFocus ? Theme.focusRing
                                       : root.active ? Theme.withAlpha(Theme.accent, 0.35) : "transparent"
    }
}
