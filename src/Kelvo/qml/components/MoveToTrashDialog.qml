import QtQuick
import QtQuick.Layouts

// Asks before one file or folder goes to the Trash. `ask(name, path)` opens it for that item;
// "Move to Trash" reports `confirmed(path)`, "Cancel" and Escape just close it.
AlertDialog {
    id: root
    property string itemName
    property string itemPath
    signal confirmed(string path)

    readonly property string shownName: itemName.length > 0 ? itemName : Theme.t("未命名", "Untitled")
    // The name of the folder that holds the item, so that two items of the same name can be told apart.
    readonly property string folderName: {
        const parts = itemPath.split("/").filter(part => part.length > 0)
        return parts.length > 1 ? parts[parts.length - 2] : ""
    }

    function ask(name, path) {
        itemName = name || ""
        itemPath = path
        shown = true
    }

    objectName: "trashDialog"
    title: Theme.t("移到废纸篓？", "Move to Trash?")
    message: folderName.length > 0
             ? Theme.t("“" + folderName + "”里的“" + shownName + "”会被移到废纸篓，不会直接永久删除，之后仍可从废纸篓放回原处。",
                       "\"" + shownName + "\" in \"" + folderName + "\" will be moved to the Trash, not deleted permanently. "
                       + "You can put it back from the Trash later.")
             : Theme.t("“" + shownName + "”会被移到废纸篓，不会直接永久删除，之后仍可从废纸篓放回原处。",
                       "\"" + shownName + "\" will be moved to the Trash, not deleted permanently. "
                       + "You can put it back from the Trash later.")
    onEscaped: shown = false

    buttons: [
        KButton {
            objectName: "trashCancelButton"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            text: Theme.t("取消", "Cancel")
            onClicked: root.shown = false
        },
        KButton {
            objectName: "trashConfirmButton"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            primary: true
            text: Theme.t("移到废纸篓", "Move to Trash")
            onClicked: {
                const path = root.itemPath
                root.shown = false
                root.confirmed(path)
            }
        }
    ]
}
