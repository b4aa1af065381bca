import QtQuick
import QtQuick.Controls
import Qt5Compat.GraphicalEffects

// A translucent rounded card with a soft shadow: the surface every group of content sits on.
Pane {
    id: root
    property real radius: Theme.radiusCard
    property color fill: Theme.panelFill
    property bool shadowed: true

    padding: Theme.spacingLarge
    background: Item {
        RectangularGlow {
            visible: root.shadowed
            anchors.fill: surface
            anchors.topMargin: 6
            anchors.leftMargin: 4
            anchors.rightMargin: 4
            glowRadius: 14
            spread: 0.05
            cornerRadius: root.radius + glowRadius
            color: Theme.shadow
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
