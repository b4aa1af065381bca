import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A check box without a label, drawn in the window's style. A click, or Space when it has the focus
// (Tab reaches it), reports `clicked()`; the owner keeps the state and feeds it back through `selected`.
AbstractButton {
    id: root
    property bool selected: false

    implicitWidth: 18
    implicitHeight: 18
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.CheckBox
    Accessible.checked: selected

    contentItem: Item {}
    background: Rectangle {
        radius: 5
        color: root.selected ? (root.down ? Theme.accentPressed : Theme.accent)
                             : (root.hovered ? "#f3f6fb" : "#ffffff")
        border.width: root.visualFocus ? 2 : 1
        border.color: root.visualFocus ? Qt.rgba(0.04, 0.45, 0.94, 0.45)
                                       : root.selected ? Theme.accent : Qt.rgba(0, 0, 0, 0.22)
        Glyph {
            anchors.centerIn: parent
            visible: root.selected
            source: "qrc:/icons/check.svg"
            size: 14
        }
    }
}
