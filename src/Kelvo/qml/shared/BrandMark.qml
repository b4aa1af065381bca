import QtQuick
import Kelvo 1.0

// The application's mark: a rounded square with a sparkle.
Rectangle {
    id: root
    property int size: 36
    width: size
    height: size
    radius: size * 0.26
    gradient: Gradient {
        GradientStop { position: 0; color: Theme.brandTop }
        GradientStop { position: 1; color: Theme.brandBottom }
    }
    border.color: Theme.brandStroke
    Glyph {
        anchors.centerIn: parent
        source: "qrc:/icons/sparkle.svg"
        size: Math.round(root.size * 0.6)
    }
}
