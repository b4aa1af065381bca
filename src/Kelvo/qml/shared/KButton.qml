import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A push button in the window's style: "primary" (filled accent) or "plain" (soft grey). A button
// with a keyboard shortcut names it in its tooltip and to a screen reader.
Button {
    id: root
    property bool primary: false
    property string shortcutText

    Accessible.name: text
    Accessible.description: shortcutText
    ToolTip.visible: hovered && shortcutText.length > 0
    ToolTip.delay: 600
    ToolTip.text: text + "  (" + shortcutText + ")"

    implicitHeight: 32
    leftPadding: 16
    rightPadding: 16
    font.pixelSize: Theme.fontBody
    font.weight: Font.Medium
    hoverEnabled: true

    contentItem: Label {
        text: root.text
        font: root.font
        color: root.primary ? Theme.textOnAccent : Theme.textPrimary
        opacity: root.enabled ? 1 : 0.45
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        implicitWidth: 80
        radius: Theme.radiusControl
        color: root.primary
               ? (root.down ? Theme.accentPressed : Theme.accent)
               : (root.down ? Theme.controlFillPressed : root.hovered ? Theme.controlFillHovered : Theme.controlFill)
        opacity: root.enabled ? 1 : 0.6
        border.width: root.visualFocus ? 2 : 0
        border.color: Theme.focusRing
    }
}
