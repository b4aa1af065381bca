import QtQuick
import Kelvo 1.0

// Asks before one file or folder goes to the Trash. `ask(name, path, key)` opens it for that item;
// "Move to Trash" reports `confirmed()` with `itemPath` and `itemKey` (the path unless a key was given)
// still naming the item, "Cancel" and Escape just close it.
SelectionConfirmDialog {
    id: root
    property string itemName
    property string itemPath
    property string itemKey

    readonly property string shownName: itemName.length > 0 ? itemName : Theme.t("未命名", "Untitled")
    // The name of the folder that holds the item, so that two items of the same name can be told apart.
    readonly property string folderName: {
        const parts = itemPath.split("/").filter(part => part.length > 0)
        return parts.length > 1 ? parts[parts.length - 2] : ""
    }

    function ask(name, path, key) {
        itemName = name || ""
        itemPath = path
        itemKey = key || path
        shown = true
    }

    objectName: "trashDialog"
    buttonNamePrefix: "trash"
    confirmText: Theme.t("移到废纸篓", "Move to Trash")
    title: Theme.t("移到废纸篓？", "Move to Trash?")
    message: folderName.length > 0
             ? Theme.t("“" + folderName + "”里的“" + shownName + "”会被移到废纸篓，不会直接永久删除，之后仍可从废纸篓放回原处。",
                       "\"" + shownName + "\" in \"" + folderName + "\" will be moved to the Trash, not deleted permanently. "
                       + "You can put it back from the Trash later.")
             : Theme.t("“" + shownName + "”会被移到废纸篓，不会直接永久删除，之后仍可从废纸篓放回原处。",
                       "\"" + shownName + "\" will be moved to the Trash, not deleted permanently. "
                       + "You can put it back from the Trash later.")
}
