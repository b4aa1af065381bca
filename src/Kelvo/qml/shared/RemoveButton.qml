import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A small round button with a minus that takes one row out of a list; `entry` names the row for
// screen readers ("Remove ~/Projects").
AbstractButton {
    id: root
    property string entry

    implicitWidth: 28
    implicitHeight: 28
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.Button
    Accessible.name: Theme.t("移除 " + entry, "Remove " + entry)

    contentItem: Item {
        Glyph {
            anchors.centerIn: parent
            source: "qrc:/icons/remove.svg"
            size: 16
        }
    }
    background: Rectangle {
        radius: height / 2
        visible: root.down || root.hovered || root.visualFocus
        color: root.down ? Theme.controlFillPressed : Theme.controlFill
        border.width: root.visualFocus ? 2 : 0
        border.color: Theme.accent
    }
}
