import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A check box without a label, drawn in the window's style. A click, or Space when it has the focus
// (Tab reaches it), reports `clicked()`; the owner keeps the state and feeds it back through `selected`.
// `partial` draws a dash instead, for a box that stands for several of which only some are chosen.
AbstractButton {
    id: root
    property bool selected: false
    property bool partial: false
    readonly property bool filled: selected || partial

    implicitWidth: 18
    implicitHeight: 18
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.CheckBox
    Accessible.checked: selected
    Accessible.checkStateMixed: partial && !selected

    contentItem: Item {}
    background: Rectangle {
        radius: 5
        color: root.filled ? (root.down ? Theme.accentPressed : Theme.accent)
                             : (root.hovered ? Theme.boxFillHovered : Theme.boxFill)
        border.width: root.visualFocus ? 2 : 1
        border.color: root.visualFocus ? Theme.focusRing
                                       : root.filled ? Theme.accent : Theme.boxStroke
        Glyph {
            anchors.centerIn: parent
            visible: root.selected
            source: "qrc:/icons/check.svg"
            size: 14
        }
        Rectangle {
            anchors.centerIn: parent
            visible: root.partial && !root.selected
            width: parent.width - 8
            height: 2
            radius: 1
            color: Theme.markOnAccent
        }
    }
}
