import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// The actions on one listed file or folder, shared by all rows of a page: `openFor` shows it for
// one item under the control that asked, and the chosen action is reported with the item's path.
Menu {
    id: root
    property string itemName
    property string itemPath
    property bool canAnalyze: false
    // False for items only looked at (an imported scan's): they cannot be revealed or moved.
    property bool canAct: true
    signal analyzeRequested(string path)
    signal revealRequested(string path)
    signal trashRequested(string name, string path)

    function openFor(anchor, name, path, canAnalyzeItem) {
        itemName = name || ""
        itemPath = path
        canAnalyze = canAnalyzeItem
        const corner = anchor.mapToItem(parent, anchor.width - implicitWidth, anchor.height + 4)
        popup(corner.x, corner.y)
    }

    objectName: "itemActionsMenu"
    // Drawn over the whole window, so that it outlives the row it was opened for.
    parent: Overlay.overlay
    padding: 5
    enter: null
    exit: null
    background: Item {
        implicitWidth: 200
        SoftShadow {
            anchors.fill: parent
            radius: Theme.radiusControl + 2
            spread: 10
            strength: 0.14
        }
        Rectangle {
            anchors.fill: parent
            radius: Theme.radiusControl + 2
            color: Theme.sheetFill
            border.color: Theme.hairline
        }
    }

    ActionMenuItem {
        objectName: "actionAnalyze"
        visible: root.canAnalyze
        // Analysing and moving start a run: not while one is going.
        enabled: !AppModel.run.isRunning
        text: Theme.t("进入这个目录继续分析", "Analyze This Folder")
        onTriggered: root.analyzeRequested(root.itemPath)
    }
    ActionMenuItem {
        objectName: "actionReveal"
        enabled: root.canAct
        text: Theme.bySystem(Theme.t("在访达中显示", "Reveal in Finder"),
                             Theme.t("在文件管理器中显示", "Show in File Manager"))
        onTriggered: root.revealRequested(root.itemPath)
    }
    ActionMenuItem {
        objectName: "actionTrash"
        destructive: true
        enabled: root.canAct && !AppModel.run.isRunning
        text: Theme.t("移到废纸篓", "Move to Trash")
        onTriggered: root.trashRequested(root.itemName, root.itemPath)
    }
}
