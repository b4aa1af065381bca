import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A small round button with three dots that opens a row's actions.
AbstractButton {
    id: root
    // What the actions are for, so that a screen reader says whose actions they are.
    property string itemName

    implicitWidth: 28
    implicitHeight: 28
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus
    Accessible.name: itemName.length > 0 ? Theme.t(itemName + " 的操作", "Actions for " + itemName)
                                         : Theme.t("操作", "Actions")
    Accessible.role: Accessible.ButtonMenu

    contentItem: Item {
        Glyph {
            anchors.centerIn: parent
            source: "qrc:/icons/more.svg"
            size: 16
        }
    }
    background: Rectangle {
        radius: height / 2
        color: root.down ? Theme.controlFillPressed : root.hovered ? Theme.controlFill : "transparent"
        border.width: root.visualFocus ? 2 : 0
        border.color: Theme.focusRing
    }
}
