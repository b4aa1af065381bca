import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// The Project Cleanup page: choose the folder to scan, preview the build artefacts and dependency
// folders in it by ecosystem, the largest group first, and move the chosen ones to the Trash after one
// confirmation (or reveal one, or move one through its actions); what moved leaves the list. A new
// scan chooses every artefact that has a project file around it.
// Ctrl+R (Command+R on macOS) runs the preview.
FeaturePage {
    id: page

    readonly property bool hasReport: AppModel.purge.hasReport
    // The artefacts still in place with the choice; a new scan chooses those with a project file
    // around them.
    readonly property PurgeEntryModel entries: AppModel.purge.entries

    function preview() {
        AppModel.request(Actions.purge(true))
    }

    objectName: "page_purge"
    feature: AppFeature.Purge
    subtitle: Theme.t("查找开发项目里的大体积临时文件和构建产物，先预览再处理。",
                      "Find large temporary files and build artifacts in development projects, then preview before removing.")
    keyScrolling: true
    hasRunShortcut: true
    onRunShortcutActivated: page.preview()
    filterField: results.filterField
    hasDeleteShortcut: true
    onDeleteShortcutActivated: if (page.entries.chosenCount > 0) confirmDialog.shown = true

    PageToolbar {
        Layout.fillWidth: true
        footnote: Theme.t("预览不会改动电脑，先确认范围再处理。",
                          Theme.bySystem("Preview will not change your Mac. Confirm scope first.",
                                         "Preview will not change your computer. Confirm scope first."))
        lastRunFeature: AppFeature.Purge

        FolderField {
            objectName: "scanPathField"
            Layout.fillWidth: true
            Layout.minimumWidth: 160
            path: AppModel.purge.scanPath
        }
        KButton {
            objectName: "purgeChooseButton"
            enabled: !AppModel.run.isRunning
            text: Theme.t("选择文件夹", "Choose Folder")
            onClicked: folderChooser.open()
        }
        KButton {
            objectName: "purgePreviewButton"
            shortcutText: page.runShortcutText
            primary: true
            enabled: !AppModel.run.isRunning
            text: page.hasReport ? Theme.t("重新扫描", "Rescan") : Theme.t("预览", "Preview")
            onClicked: page.preview()
        }
    }

    RunProgressPanel {
        Layout.fillWidth: true
        feature: AppFeature.Purge
        placePrefix: Theme.t("正在扫描 ", "Scanning ")
        waitingText: Theme.t("正在扫描项目目录，请稍等。", "Scanning the project folder, please wait.")
        countsBytes: true
    }

    AboutBox {
        feature: page.feature
        Layout.fillWidth: true
        title: Theme.t("关于本次扫描", "About This Scan")
        caption: Theme.t(AppModel.purge.targetTypeCount + " 种目录类型",
                         AppModel.purge.targetTypeCount + " directory types")
        promises: [
            Theme.t("不自动删除", "No auto-delete"),
            Theme.t("只移到废纸篓", "To Trash only")
        ]
    }

    ResultsPanel {
        id: results
        Layout.fillWidth: true
        filterable: true
        shownCount: groupList.shownCount
        title: Theme.t("预览结果", "Preview Results")
        hasReport: page.hasReport
        empty: page.hasReport && page.entries.count === 0
        promptTitle: Theme.t("先运行一次预览", "Start with a preview")
        promptDetail: Theme.t("确认上面的范围后点击“预览”或按 " + page.runShortcutText
                              + "，看看依赖目录和构建产物占了多少空间。",
                              "Check the folder above, then choose Preview or press " + page.runShortcutText
                              + " to see how much space dependencies and build output take.")
        emptyTitle: Theme.t("当前范围里没有明显可整理的项目产物", "No obvious cleanup targets in this scope")
        emptyDetail: Theme.t("换一个项目目录再试试。", "Try another project folder.")
        summary: page.hasReport
                 ? Theme.counted(page.entries.count, " 个项目产物", " build artefact", " build artefacts")
                   + Theme.t("，合计 ", ", ") + Theme.bytes(page.entries.totalBytes) + Theme.t("", " in all")
                 : ""

        SelectionBar {
            Layout.fillWidth: true
            Layout.bottomMargin: Theme.spacingSmall
            selectedCount: page.entries.chosenCount
            selectableCount: page.entries.choosableCount
            busy: AppModel.run.isRunning
            actionText: Theme.t("移到废纸篓", "Move to Trash")
            onSelectAllRequested: page.entries.setChosen(groupList.shownKeys(), true)
            onClearRequested: page.entries.chooseAll(false)
            onActionRequested: confirmDialog.shown = true
        }
        PurgeGroupList {
            id: groupList
            Layout.fillWidth: true
            filterText: results.filterText
            groups: AppModel.purge.groups
            entries: page.entries
            onActionsRequested: (anchor, name, path) => actionsMenu.openFor(anchor, name, path, false)
        }
    }

    ItemActionsMenu {
        id: actionsMenu
        onRevealRequested: path => AppModel.revealInFileManager(path)
        onTrashRequested: (name, path) => trashDialog.ask(name, path)
    }

    MoveToTrashDialog {
        id: trashDialog
        onConfirmed: AppModel.purge.moveToTrash([trashDialog.itemPath])
    }

    SelectionConfirmDialog {
        id: confirmDialog
        objectName: "purgeConfirmDialog"
        title: Theme.t("移到废纸篓？", "Move to Trash?")
        message: Theme.t("会把选中的 " + page.entries.chosenCount + " 个项目产物（合计 " + Theme.bytes(page.entries.chosenBytes)
                         + "）移到废纸篓，不会直接永久删除。",
                         "The selected " + page.entries.chosenCount + " build artefacts (" + Theme.bytes(page.entries.chosenBytes)
                         + " in total) will be moved to Trash, not permanently deleted.")
        confirmText: Theme.t("移到废纸篓", "Move to Trash")
        onConfirmed: AppModel.purge.moveChosenToTrash()
    }

    FolderChooser {
        id: folderChooser
        objectName: "scanFolderChooser"
        title: Theme.t("选择要扫描的项目目录。", "Choose a project folder to scan.")
        folderPath: AppModel.purge.scanPath
        onAccepted: AppModel.purge.choosePath(selectedFolder)
    }
}
