import QtQuick
import Qt5Compat.GraphicalEffects

// A frosted surface: the part of `backdrop` behind this item, blurred and lightened by `tint`.
Item {
    id: root
    property Item backdrop
    property color tint: Theme.sidebarFill

    clip: true

    ShaderEffectSource {
        id: behind
        anchors.fill: parent
        visible: false
        sourceItem: root.backdrop
        sourceRect: {
            const origin = root.backdrop ? root.mapToItem(root.backdrop, 0, 0) : Qt.point(0, 0)
            return Qt.rect(origin.x, origin.y, root.width, root.height)
        }
    }
    FastBlur {
        anchors.fill: parent
        source: behind
        radius: 64
        transparentBorder: false
    }
    Rectangle {
        anchors.fill: parent
        color: root.tint
    }
}
