import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A translucent rounded card with a soft shadow: the surface every group of content sits on.
Pane {
    id: root
    property real radius: Theme.radiusCard
    property color fill: Theme.panelFill
    property bool shadowed: true

    padding: Theme.spacingLarge
    background: Item {
        SoftShadow {
            visible: root.shadowed
            anchors.fill: parent
            radius: root.radius
        }
        Rectangle {
            id: surface
            anchors.fill: parent
            radius: root.radius
            color: root.fill
            border.color: Theme.panelStroke
            border.width: 1
        }
        Rectangle {
            anchors.fill: parent
            radius: root.radius
            color: "transparent"
            border.color: Theme.hairline
            border.width: 1
            anchors.margins: -1
        }
    }
}
