import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One sidebar entry: symbol and label, a highlight when chosen, a pulsing dot while its feature is
// running, and its keyboard shortcut while the pointer is over it.
AbstractButton {
    id: root
    property url symbol
    property bool selected: false
    property bool running: false
    property string shortcutText

    Accessible.role: Accessible.PageTab
    Accessible.name: text
    Accessible.description: shortcutText
    Accessible.selected: selected

    implicitHeight: 34
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    leftPadding: 10
    rightPadding: 10

    background: Rectangle {
        radius: Theme.radiusControl
        color: root.selected ? Theme.sidebarSelectedFill
                             : root.down ? Theme.sidebarPressedFill
                             : root.hovered ? Theme.sidebarHoverFill : "transparent"
        border.color: root.selected ? Theme.sidebarSelectedStroke : "transparent"
    }

    contentItem: RowLayout {
        spacing: 10
        Glyph {
            source: root.symbol
            size: 18
        }
        Label {
            objectName: "sidebarLabel"
            Layout.fillWidth: true
            text: root.text
            color: Theme.textPrimary
            font.pixelSize: Theme.fontBody + 0.5
            font.weight: root.selected ? Font.DemiBold : Font.Normal
            elide: Text.ElideRight
        }
        Label {
            objectName: "sidebarShortcut"
            visible: root.hovered && !root.running && root.shortcutText.length > 0
            text: root.shortcutText
            color: Theme.textSecondary
            font.pixelSize: Theme.fontCaption
        }
        Rectangle {
            objectName: "runningIndicator"
            visible: root.running
            implicitWidth: 7
            implicitHeight: 7
            radius: 3.5
            color: Theme.accent
            SequentialAnimation on opacity {
                running: root.running
                loops: Animation.Infinite
                NumberAnimation { from: 1; to: 0.3; duration: 700; easing.type: Easing.InOutSine }
                NumberAnimation { from: 0.3; to: 1; duration: 700; easing.type: Easing.InOutSine }
            }
        }
    }
}
