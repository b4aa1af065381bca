import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// The Installer Cleanup page: the places that will be searched, then the installer files found in
// them with a check box each; the chosen files go to the Trash after a confirmation. The filter bar
// shows all files or those of one place, by size or by name. Ctrl+R (Command+R on macOS) scans. On a
// Linux desktop the file types, the rows' kinds and the texts naming the computer follow the controller.
FeaturePage {
    id: page

    readonly property bool hasReport: AppModel.installer.hasReport
    // Every file with the choice (a new report keeps the choices it still lists); the filter and the
    // order of the rows shown are the controller's.
    readonly property InstallerEntryModel entries: AppModel.installer.entries
    readonly property bool linuxDesktop: AppModel.installer.linuxDesktop

    function preview() {
        AppModel.request(Actions.installer(true))
    }

    objectName: "page_installer"
    feature: AppFeature.Installer
    subtitle: Theme.t("查找下载的安装包文件，帮你释放磁盘空间。",
                      "Find downloaded installer files and help free disk space.")
    keyScrolling: true
    hasRunShortcut: true
    onRunShortcutActivated: page.preview()
    filterField: results.filterField
    hasDeleteShortcut: true
    onDeleteShortcutActivated: if (page.entries.chosenCount > 0) confirmDialog.shown = true
    Component.onCompleted: AppModel.installer.lookAtScanLocations()

    PageToolbar {
        Layout.fillWidth: true
        footnote: Theme.t("预览只列出文件，不会改动电脑。",
                          Theme.bySystem("Preview only lists files and does not change your Mac.",
                                         "Preview only lists files and does not change your computer."))
        lastRunFeature: AppFeature.Installer

        KButton {
            objectName: "installerPreviewButton"
            shortcutText: page.runShortcutText
            primary: !page.hasReport || page.entries.count === 0
            enabled: !AppModel.run.isRunning
            text: page.hasReport ? Theme.t("重新扫描", "Rescan") : Theme.t("预览", "Preview")
            onClicked: page.preview()
        }
        KButton {
            objectName: "installerChooseButton"
            primary: page.hasReport && page.entries.count > 0
            enabled: !AppModel.run.isRunning && page.hasReport && page.entries.count > 0
            text: Theme.t("选择清理", "Choose Files")
            onClicked: page.bringToTop(results)
        }
    }

    RunProgressPanel {
        Layout.fillWidth: true
        feature: AppFeature.Installer
        placePrefix: Theme.t("正在扫描 ", "Scanning ")
        waitingText: Theme.t("正在查找安装包，请稍等。", "Looking for installer files, please wait.")
        countUnit: Theme.t(" 个", " files")
        countsBytes: true
    }

    AboutBox {
        feature: page.feature
        Layout.fillWidth: true
        title: Theme.t("关于本次扫描", "About This Scan")
        caption: Theme.t("文件类型", "File types")
        tags: AppModel.installer.fileTypes
        promises: [
            Theme.t("不自动删除", "No auto-delete"),
            Theme.t("清理前确认", "Confirm first"),
            Theme.t("只移到废纸篓", "To Trash only")
        ]
    }

    ScanLocationList {
        Layout.fillWidth: true
        visible: !page.hasReport
        title: Theme.t("将要查找的位置", "Places to Search")
        locations: AppModel.installer.scanLocations
    }

    ResultsPanel {
        id: results
        Layout.fillWidth: true
        filterable: true
        shownCount: shownRows.count
        title: Theme.t("安装包列表", "Installer List")
        hasReport: page.hasReport
        empty: page.hasReport && page.entries.count === 0
        promptTitle: Theme.t("先运行一次预览", "Start with a preview")
        promptDetail: Theme.t("点击“预览”或按 " + page.runShortcutText + "，在上面这些位置查找安装包。",
                              "Choose Preview or press " + page.runShortcutText
                              + " to look for installer files in the places above.")
        emptyTitle: Theme.t("没有发现明显可整理的安装包", "No obvious installer files found")
        emptyDetail: page.linuxDesktop
                     ? Theme.t("下载、桌面和文档文件夹里没有可列出的安装文件。",
                               "There are no installer files to show in your Downloads, Desktop or Documents folder.")
                     : Theme.t("下载、桌面和常见附件位置没有可列出的安装文件。",
                               "There are no installer files to show in Downloads, Desktop, or common attachment locations.")
        summary: page.hasReport
                 ? Theme.counted(page.entries.count, " 个安装包", " installer file", " installer files")
                   + Theme.t("，合计 ", ", ") + Theme.bytes(page.entries.totalBytes) + Theme.t("", " in all")
                 : ""

        InstallerFilterBar {
            Layout.fillWidth: true
            Layout.bottomMargin: Theme.spacingSmall
            sources: AppModel.installer.sources
            source: AppModel.installer.sourceFilter
            sortBySize: AppModel.installer.sortBySize
            onSourceChosen: source => AppModel.installer.sourceFilter = source
            onSortToggled: AppModel.installer.sortBySize = !AppModel.installer.sortBySize
        }
        SelectionBar {
            Layout.fillWidth: true
            Layout.bottomMargin: Theme.spacingSmall
            selectedCount: page.entries.chosenCount
            selectableCount: page.entries.choosableCount
            busy: AppModel.run.isRunning
            actionText: Theme.t("移到废纸篓", "Move to Trash")
            // Under a filter, the shown files only.
            onSelectAllRequested: page.entries.setChosen(shownRows.values("key"), true)
            onClearRequested: page.entries.chooseAll(false)
            onActionRequested: confirmDialog.shown = true
        }
        ColumnHeadings {
            Layout.fillWidth: true
            leadingInset: 18 + 20 + 2 * Theme.spacing
            firstTitle: page.entries.chosenCount > 0 ? Theme.t("已选文件", "Selected Files") : ""
            columns: [
                { title: Theme.t("来源", "Source"), width: 110 },
                { title: Theme.t("大小", "Size"), width: 78 }
            ]
        }
        RowFilter {
            id: shownRows
            sourceModel: AppModel.installer.shownEntries
            roles: ["name", "path", "source"]
            text: results.filterText
        }
        Repeater {
            model: shownRows
            delegate: InstallerEntryRow {
                id: entryRow
                required property int index
                required property string key
                required property bool chosen
                required name
                required path
                required source
                required kind
                required sizeText

                Layout.fillWidth: true
                first: index === 0
                selected: chosen
                onToggled: page.entries.setChosen([entryRow.key], !entryRow.chosen)
            }
        }
    }

    SelectionConfirmDialog {
        id: confirmDialog
        objectName: "installerConfirmDialog"
        title: Theme.t("移到废纸篓？", "Move to Trash?")
        message: Theme.t("会把选中的 " + page.entries.chosenCount + " 个安装包移到废纸篓，不会直接永久删除。",
                         "The selected " + page.entries.chosenCount
                         + " installer files will be moved to Trash, not permanently deleted.")
        confirmText: Theme.t("移到废纸篓", "Move to Trash")
        onConfirmed: AppModel.installer.moveChosenToTrash()
    }
}
