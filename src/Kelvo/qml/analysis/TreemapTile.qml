import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// One tile of the treemap: a calm colour, the item's name where it fits, and its name, size and share
// in a tooltip. A folder's tile is a frame whose header names it, its own items drawn inside; it can
// be clicked to open it. A right click asks for the item's actions.
Rectangle {
    id: root
    property string name
    property string tip
    property bool isDirectory: false
    property bool opens: isDirectory // a click opens a folder: this one, or the one it is drawn in
    property bool nested: false // items are drawn inside, below the header
    property color baseColor: Theme.treemapMergedFill
    signal chosen()
    signal menuRequested(Item anchor)

    readonly property bool labelled: width >= 40 && height >= 18

    objectName: "treemapTile"
    Accessible.ignored: true
    radius: 3
    color: hover.containsMouse && isDirectory ? (Theme.dark ? Qt.lighter(baseColor, 1.12) : Qt.darker(baseColor, 1.06)) : baseColor
    border.color: Theme.treemapTileStroke
    border.width: 1

    // A mouse area, not a hover handler: only the topmost tile under the pointer is hovered, so a
    // folder's tooltip does not show over its items'.
    MouseArea {
        id: hover
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        cursorShape: root.opens && !AppModel.run.isRunning ? Qt.PointingHandCursor : Qt.ArrowCursor
        onClicked: mouse => {
            if (mouse.button === Qt.RightButton)
                root.menuRequested(root)
            else if (root.opens && !AppModel.run.isRunning)
                root.chosen()
        }
    }
    ToolTip.visible: hover.containsMouse && tip.length > 0
    ToolTip.delay: 400
    ToolTip.text: tip

    Label {
        objectName: "tileName"
        visible: root.labelled
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 4
        anchors.topMargin: root.nested ? 2 : 4
        text: root.name
        color: Theme.textPrimary
        font.pixelSize: Theme.fontCaption
        font.weight: root.isDirectory ? Font.DemiBold : Font.Normal
        elide: Text.ElideRight
    }
}
