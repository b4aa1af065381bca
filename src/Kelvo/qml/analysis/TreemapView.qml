import QtQuick
import Kelvo 1.0

// The largest items of a folder as a treemap: one tile per item, its area in proportion to its size.
// Folders get calm colours and can be clicked (`folderChosen`, with the entry's key); files are grey.
Item {
    id: root
    property var entries: []
    property int maxTiles: 30
    signal folderChosen(string key)

    readonly property var tiledEntries: entries.filter(entry => entry.size > 0).slice(0, maxTiles)
    readonly property var tiles: layout.squarify(tiledEntries.map(entry => entry.size), width, height)
    readonly property var folderColours: ["#9dbdea", "#95d2ca", "#b7d7a1", "#c2b6e8", "#eccb9f",
                                          "#a6cde6", "#d8b8cc", "#b1c3da"]

    objectName: "treemap"
    implicitHeight: 220

    TreemapLayout {
        id: layout
    }

    Repeater {
        model: root.tiledEntries
        delegate: TreemapTile {
            id: tileItem
            required property var modelData
            required property int index
            readonly property var tile: root.tiles[tileItem.index] || { x: 0, y: 0, width: 0, height: 0 }

            x: tile.x + 1
            y: tile.y + 1
            width: Math.max(0, tile.width - 2)
            height: Math.max(0, tile.height - 2)
            name: modelData.name || ""
            path: modelData.path || ""
            size: modelData.size
            isDirectory: modelData.isDirectory === true
            baseColor: tileItem.isDirectory ? root.folderColours[tileItem.index % root.folderColours.length] : "#d5d9e0"
            onChosen: root.folderChosen(tileItem.modelData.key)
        }
    }
}
