import QtQuick
import Kelvo 1.0

// The folder shown as a nested treemap: each item a tile whose area is its share of the folder, a
// folder's tile holding its own items a few levels deep, files coloured by their type, and the items
// too small to draw merged into one grey tile. The layout comes from the controller, which lays the
// tiles out again whenever the map's size changes. Clicking a folder opens it, and clicking an item
// drawn inside a folder opens that folder (`folderChosen`); the context menu of an item asks for its
// actions (`actionsRequested`).
Item {
    id: root
    property var analysis: AppModel.analysis
    signal folderChosen(string key)
    signal actionsRequested(Item anchor, var row)

    readonly property int tileCount: repeater.count

    function relayout() {
        if (width > 0 && height > 0)
            analysis.layoutTreemap(width, height)
    }

    objectName: "treemap"
    // The map draws what the rows below list; a screen reader hears the map as one picture and
    // reaches the items through the rows.
    Accessible.role: Accessible.Graphic
    Accessible.name: Theme.t("空间分布图", "Space map")
    Accessible.description: Theme.t("下面的列表列出了同样的项目。", "The list below holds the same items.")
    implicitHeight: 320
    // Laid out once per turn of the event loop however many sizes a resize passes through.
    onWidthChanged: Qt.callLater(relayout)
    onHeightChanged: Qt.callLater(relayout)
    Component.onCompleted: relayout()

    Connections {
        target: root.analysis
        function onReportChanged() { Qt.callLater(root.relayout) }
    }

    Repeater {
        id: repeater
        model: root.analysis.treemap
        delegate: TreemapTile {
            required property string key
            required property string folderKey
            required property real tileX
            required property real tileY
            required property real tileWidth
            required property real tileHeight
            required property int depth
            required property bool isFolder
            required property int merged
            required property int fileType
            required property string toolTip
            required name

            x: tileX
            y: tileY
            width: tileWidth
            height: tileHeight
            isDirectory: isFolder
            opens: isFolder || (depth > 0 && merged === 0)
            nested: isFolder && depth < 2
            tip: toolTip
            baseColor: merged > 0 ? Theme.treemapMergedFill
                       : isFolder ? Theme.treemapFolderColours[Math.min(depth, Theme.treemapFolderColours.length - 1)]
                       : Theme.treemapTypeColours[Math.max(0, fileType)]
            onChosen: {
                if (isFolder)
                    root.folderChosen(key)
                else if (depth > 0)
                    root.folderChosen(folderKey)
            }
            onMenuRequested: anchor => {
                if (key.length > 0)
                    root.actionsRequested(anchor, { key: key, name: name, path: "", isDirectory: isFolder })
            }
        }
    }
}
