import QtQuick
import Kelvo 1.0

// A soft shadow around a rounded shape, built from stacked translucent outlines so that it needs no
// shader and looks the same with every scene graph backend. The outlines stay outside the shape,
// so a translucent shape shows no shadow through itself. Fill the shape's area with it.
Item {
    id: root
    property real radius: Theme.radiusCard
    property int spread: 12
    property real strength: 0.07

    Repeater {
        model: root.spread
        delegate: Rectangle {
            required property int index
            readonly property real grow: index + 1
            x: -grow
            y: -grow
            width: root.width + 2 * grow
            height: root.height + 2 * grow
            radius: root.radius + grow
            color: "transparent"
            border.width: 1
            border.color: Theme.withAlpha(Theme.shadow, Theme.shadowScale * root.strength * Math.pow(1 - index / root.spread, 2))
        }
    }
}
