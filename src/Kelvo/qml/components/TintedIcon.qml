import QtQuick
import Qt5Compat.GraphicalEffects

// A line icon drawn in any colour.
Item {
    id: root
    property url source
    property color color: Theme.textSecondary
    property int size: 18

    implicitWidth: size
    implicitHeight: size

    Image {
        id: image
        anchors.fill: parent
        source: root.source
        sourceSize: Qt.size(root.size * 2, root.size * 2)
        smooth: true
        visible: false
    }
    ColorOverlay {
        anchors.fill: image
        source: image
        color: root.color
    }
}
