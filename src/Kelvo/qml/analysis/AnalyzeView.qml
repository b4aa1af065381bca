import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import Kelvo 1.0

// The Storage Analysis page: choose a folder, analyse it, and look at what takes its space; go into
// a folder or back to the parent (Backspace, Alt+Up) without walking it again, reveal an item or move
// it to the Trash after a confirmation, or open a scan exported by ncdu, gdu or Kelvo. Ctrl+R
// (Command+R on macOS) analyses the chosen folder.
FeaturePage {
    id: page

    readonly property bool hasReport: AppModel.analysis.hasReport
    // The row whose actions are open.
    property var menuRow: null

    function analyze() {
        AppModel.request(Actions.analyze(AppModel.analysis.path, true))
    }

    objectName: "page_analyze"
    feature: AppFeature.Analyze
    subtitle: Theme.t("选择一个位置，找出最占空间的文件和文件夹。",
                      "Choose a location and find the files and folders using the most space.")
    keyScrolling: true
    hasRunShortcut: true
    onRunShortcutActivated: page.analyze()
    filterField: results.filterField

    PageToolbar {
        Layout.fillWidth: true
        notesBeside: false
        footnote: Theme.t("分析只读取目录信息，不会改动任何文件。",
                          "Analysis only reads directory info and does not modify any files.")
        lastRunFeature: AppFeature.Analyze

        // The folder shown; a path typed or pasted here opens with Enter: at once when the tree
        // walked holds it, otherwise by walking it.
        TextField {
            id: pathField
            objectName: "analysisPathField"
            readonly property string path: AppModel.analysis.path
            Layout.fillWidth: true
            Layout.minimumWidth: 160
            implicitHeight: 32
            leftPadding: 10
            font.pixelSize: Theme.fontBody
            enabled: !AppModel.run.isRunning
            text: path
            selectByMouse: true
            Accessible.name: Theme.t("要分析的文件夹", "Folder to analyze")
            background: Rectangle {
                radius: Theme.radiusControl
                color: Theme.fieldFill
                border.width: pathField.activeFocus ? 2 : 1
                border.color: pathField.activeFocus ? Theme.focusRing : Theme.hairline
            }
            onAccepted: AppModel.analysis.analyze(text)
            onPathChanged: text = path
        }
        KButton {
            objectName: "analysisChooseButton"
            enabled: !AppModel.run.isRunning
            text: Theme.t("选择", "Choose")
            onClicked: folderChooser.open()
        }
        KButton {
            objectName: "analysisParentButton"
            enabled: !AppModel.run.isRunning && AppModel.analysis.path.length > 1
            text: Theme.t("返回上一级", "Go to Parent Folder")
            shortcutText: parentShortcut.nativeText
            onClicked: AppModel.analysis.analyzeParent()
        }
        KButton {
            objectName: "analysisOpenScanButton"
            enabled: !AppModel.run.isRunning
            text: Theme.t("打开扫描…", "Open Scan…")
            onClicked: scanChooser.open()
        }
        KButton {
            objectName: "analysisRunButton"
            primary: true
            enabled: !AppModel.run.isRunning
            text: page.hasReport ? Theme.t("重新分析", "Reanalyze") : Theme.t("开始分析", "Analyze")
            shortcutText: page.runShortcutText
            onClicked: page.analyze()
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: Theme.spacingSmall
        ToggleSwitch {
            id: countEverythingSwitch
            objectName: "analysisCountEverythingSwitch"
            enabled: !AppModel.run.isRunning
            checked: AppModel.analysis.countEverything
            onToggled: AppModel.analysis.countEverything = checked
            Accessible.name: countEverythingLabel.text
        }
        Label {
            id: countEverythingLabel
            Layout.fillWidth: true
            text: Theme.bySystem(Theme.t("统计全部内容（包括隐藏项目和主文件夹中受保护的文件夹）",
                                         "Count everything (hidden items and the home folder's protected folders too)"),
                                 Theme.t("统计全部内容（包括隐藏项目）", "Count everything (hidden items too)"))
            color: Theme.textPrimary
            font.pixelSize: Theme.fontSmall
            wrapMode: Text.WordWrap
        }
    }

    RunProgressPanel {
        Layout.fillWidth: true
        feature: AppFeature.Analyze
        placePrefix: Theme.t("正在读取 ", "Reading ")
        waitingText: Theme.t("正在处理，请稍等。", "Working, please wait.")
        countsBytes: true
    }

    AboutBox {
        feature: page.feature
        Layout.fillWidth: true
        title: Theme.t("关于本次分析", "About This Analysis")
        tags: [
            Theme.t("目录大小统计", "Directory Sizes"),
            Theme.t("按大小排序", "Ranked by Size"),
            Theme.t("超大文件检测", "Large File Detection"),
            Theme.t("逐层深入", "Drill Down")
        ]
        promises: [
            Theme.t("只读取元数据", "Reads metadata only"),
            Theme.t("不自动删除", "No auto-delete"),
            Theme.t("删除前逐项确认", "Confirm before delete")
        ]
    }

    ResultsPanel {
        id: results
        Layout.fillWidth: true
        filterable: true
        shownCount: analysisResults.shownCount
        title: Theme.t("预览结果", "Preview Results")
        hasReport: page.hasReport
        empty: page.hasReport && AppModel.analysis.entries.count === 0
        promptTitle: Theme.t("先分析一个位置", "Start with an analysis")
        promptDetail: Theme.t("选好位置后点击“开始分析”或按 " + page.runShortcutText + "，看看空间都用在了哪里。",
                              "Choose a location, then choose Analyze or press " + page.runShortcutText
                              + " to see what uses its space.")
        emptyTitle: Theme.t("这里没有可显示的内容", "Nothing to show here")
        emptyDetail: Theme.t("这个文件夹是空的，或者不存在、无法读取。换一个位置再试试。",
                             "This folder is empty, missing or cannot be read. Try another location.")

        // Every action names its item by the row's key, which holds the bytes on disk.
        AnalysisResults {
            id: analysisResults
            Layout.fillWidth: true
            filterText: results.filterText
            onActionsRequested: (anchor, row) => {
                page.menuRow = row
                actionsMenu.openFor(anchor, row.name, row.key, row.isDirectory)
            }
            onAnalyzeRequested: key => AppModel.analysis.analyzeItem(key)
            onTrashRequested: row => {
                if (AppModel.analysis.canAct)
                    trashDialog.ask(row.name, row.path, row.key)
            }
        }
    }

    // Backspace and Alt+Up go to the parent folder, as in a file manager.
    Shortcut {
        id: parentShortcut
        sequence: "Backspace"
        enabled: page.visible && page.hasReport && !AppModel.run.isRunning
        onActivated: AppModel.analysis.analyzeParent()
    }
    Shortcut {
        sequence: "Alt+Up"
        enabled: parentShortcut.enabled
        onActivated: AppModel.analysis.analyzeParent()
    }

    ItemActionsMenu {
        id: actionsMenu
        canAct: AppModel.analysis.canAct
        onAnalyzeRequested: key => AppModel.analysis.analyzeItem(key)
        onRevealRequested: key => AppModel.analysis.revealItem(key)
        onTrashRequested: (name, key) => trashDialog.ask(name, page.menuRow.path, key)
    }

    MoveToTrashDialog {
        id: trashDialog
        onConfirmed: AppModel.analysis.moveToTrash(trashDialog.itemKey)
    }

    FileDialog {
        id: scanChooser
        objectName: "analysisScanChooser"
        title: Theme.t("打开 ncdu、gdu 或 Kelvo 导出的扫描。", "Open a scan exported by ncdu, gdu or Kelvo.")
        nameFilters: [Theme.t("扫描导出 (*.json)", "Scan exports (*.json)"), Theme.t("所有文件 (*)", "All files (*)")]
        onAccepted: AppModel.analysis.importScan(selectedFile)
    }

    FolderChooser {
        id: folderChooser
        objectName: "analysisFolderChooser"
        title: Theme.t("选择要分析的文件夹。", "Choose a folder to analyze.")
        folderPath: AppModel.analysis.path
        onAccepted: AppModel.analysis.choosePath(selectedFolder)
    }
}
