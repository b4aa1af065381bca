import QtQuick
import QtQuick.Dialogs
import Kelvo 1.0

// The folder chooser of a page, opened at `folderPath`; its confirm button reads "Choose".
FolderDialog {
    property string folderPath

    acceptLabel: Theme.t("选择", "Choose")
    // A file URL of the path, each name escaped so that "#", "?" and spaces stay part of it.
    currentFolder: folderPath.length > 0 ? "file://" + folderPath.split("/").map(encodeURIComponent).join("/") : ""
}
