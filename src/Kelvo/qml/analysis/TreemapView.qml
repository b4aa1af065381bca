import QtQuick
import Kelvo 1.0

// The largest items of a folder as a treemap: one tile per item that takes space, at most maxTiles,
// its area in proportion to its size. Folders get calm colours and can be clicked (`folderChosen`,
// with the entry's key); files are grey. The entries come largest first.
Item {
    id: root
    property AnalysisEntryModel entries
    property int maxTiles: 30
    signal folderChosen(string key)

    readonly property var tiledSizes: {
        const all = entries ? entries.sizes : []
        const sizes = []
        for (let i = 0; i < all.length && sizes.length < maxTiles && all[i] > 0; ++i)
            sizes.push(all[i])
        return sizes
    }
    readonly property int tileCount: tiledSizes.length
    readonly property var tiles: layout.squarify(tiledSizes, width, height)
    readonly property var folderColours: ["#9dbdea", "#95d2ca", "#b7d7a1", "#c2b6e8", "#eccb9f",
                                          "#a6cde6", "#d8b8cc", "#b1c3da"]

    objectName: "treemap"
    implicitHeight: 220

    TreemapLayout {
        id: layout
    }

    Repeater {
        model: root.entries
        delegate: TreemapTile {
            id: tileItem
            required property int index
            required property string key
            required name
            required size
            required sizeText
            required isDirectory
            readonly property var tile: root.tiles[tileItem.index] || { x: 0, y: 0, width: 0, height: 0 }

            visible: index < root.tileCount
            x: tile.x + 1
            y: tile.y + 1
            width: Math.max(0, tile.width - 2)
            height: Math.max(0, tile.height - 2)
            // A tile that is leaving (index -1) keeps a colour too.
            baseColor: tileItem.isDirectory && index >= 0 ? root.folderColours[index % root.folderColours.length]
                                                          : "#d5d9e0"
            onChosen: root.folderChosen(tileItem.key)
        }
    }
}
