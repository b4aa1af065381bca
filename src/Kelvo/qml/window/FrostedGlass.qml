import QtQuick
import Qt5Compat.GraphicalEffects
import Kelvo 1.0

// A frosted surface: the part of `backdrop` behind this item, blurred and lightened by `tint`.
// The software scene graph has no shader effects; there the surface is a plain, denser tint.
Item {
    id: root
    property Item backdrop
    property color tint: Theme.sidebarFill
    property color plainTint: Theme.sidebarFillPlain
    readonly property bool canBlur: GraphicsInfo.api !== GraphicsInfo.Software && GraphicsInfo.api !== GraphicsInfo.Unknown

    clip: true

    Loader {
        anchors.fill: parent
        active: root.canBlur && root.backdrop !== null
        sourceComponent: Item {
            ShaderEffectSource {
                id: behind
                anchors.fill: parent
                visible: false
                sourceItem: root.backdrop
                sourceRect: {
                    const origin = root.mapToItem(root.backdrop, 0, 0)
                    return Qt.rect(origin.x, origin.y, root.width, root.height)
                }
            }
            FastBlur {
                anchors.fill: parent
                source: behind
                radius: 64
            }
        }
    }
    Rectangle {
        anchors.fill: parent
        color: root.canBlur ? root.tint : root.plainTint
    }
}
