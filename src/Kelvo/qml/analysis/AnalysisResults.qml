import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// What one storage analysis found: the summary figures, the folder's children as a treemap and as
// rows with bars, and the largest files below it. Rows ask for their actions through
// `actionsRequested` with their row of the report; folders ask to be analysed through
// `analyzeRequested` with their key.
ColumnLayout {
    id: root
    property var report: null
    signal actionsRequested(Item anchor, var row)
    signal analyzeRequested(string key)

    readonly property var entries: report ? report.entries : []
    readonly property var largeFiles: report ? report.largeFiles : []

    spacing: Theme.spacing

    RowLayout {
        Layout.fillWidth: true
        spacing: Theme.spacing
        StatTile {
            objectName: "summaryLocation"
            Layout.fillWidth: true
            Layout.preferredWidth: 2
            caption: Theme.t("选中的位置", "Selected location")
            value: root.report ? root.report.path : ""
            isPath: true
        }
        StatTile {
            objectName: "summaryFiles"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            caption: Theme.t("文件数量", "Files")
            value: root.report ? String(root.report.totalFiles) : ""
        }
        StatTile {
            objectName: "summarySize"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            caption: Theme.t("本次检查结果", "In this scan")
            value: root.report ? Theme.bytes(root.report.totalSize) : ""
        }
    }

    Label {
        objectName: "leftOutNote"
        Layout.fillWidth: true
        Layout.leftMargin: 4
        visible: text.length > 0
        wrapMode: Text.WordWrap
        color: Theme.textSecondary
        font.pixelSize: Theme.fontSmall
        text: {
            if (!root.report)
                return ""
            const parts = []
            const hidden = root.report.hiddenItems || 0
            if (hidden > 0) {
                const bytes = root.report.hiddenFileBytes || 0
                parts.push(bytes > 0
                           ? Theme.t(hidden + " 个隐藏项目（其中的文件共 " + Theme.bytes(bytes) + "，隐藏文件夹未测量）",
                                     hidden + " hidden items (their files: " + Theme.bytes(bytes)
                                     + "; hidden folders not measured)")
                           : Theme.t(hidden + " 个隐藏项目", hidden + " hidden items"))
            }
            const protectedFolders = root.report.protectedFolders || []
            if (protectedFolders.length > 0)
                parts.push(Theme.t("受保护的文件夹 " + protectedFolders.join("、"),
                                   "the protected folders " + protectedFolders.join(", ")))
            return parts.length === 0 ? ""
                 : Theme.t("未计入：" + parts.join("；") + "。打开“统计全部内容”可把它们算进来。",
                           "Not counted: " + parts.join("; ") + ". Turn on Count everything to include them.")
        }
    }

    SectionHeading {
        objectName: "largestHeading"
        Layout.fillWidth: true
        Layout.topMargin: Theme.spacingSmall
        Layout.leftMargin: 4
        title: Theme.t("占用靠前的项目", "Largest space users")
        count: root.entries.length
    }

    TreemapView {
        Layout.fillWidth: true
        Layout.preferredHeight: 220
        visible: tiledEntries.length > 0
        entries: root.entries
        onFolderChosen: key => root.analyzeRequested(key)
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 0
        Repeater {
            model: root.entries
            delegate: AnalysisEntryRow {
                id: entryRow
                required property var modelData
                required property int index
                Layout.fillWidth: true
                first: index === 0
                name: modelData.name || ""
                path: modelData.path || ""
                nameNotUtf8: modelData.nameNotUtf8 === true
                size: modelData.size || 0
                isDirectory: modelData.isDirectory === true
                kind: modelData.kind || (isDirectory ? "folder" : "file")
                share: modelData.share || 0
                onActionsRequested: anchor => root.actionsRequested(anchor, entryRow.modelData)
                onAnalyzeRequested: root.analyzeRequested(entryRow.modelData.key)
            }
        }
    }

    SectionHeading {
        objectName: "largeFilesHeading"
        Layout.fillWidth: true
        Layout.topMargin: Theme.spacing
        Layout.leftMargin: 4
        visible: root.largeFiles.length > 0
        title: Theme.t("大文件", "Large Files")
        count: root.largeFiles.length
        note: Theme.t("建议重点查看", "Worth checking first")
    }

    ColumnLayout {
        Layout.fillWidth: true
        visible: root.largeFiles.length > 0
        spacing: 0
        Repeater {
            model: root.largeFiles
            delegate: AnalysisEntryRow {
                id: fileRow
                required property var modelData
                required property int index
                objectName: "largeFileRow"
                Layout.fillWidth: true
                first: index === 0
                name: modelData.name || ""
                path: modelData.path || ""
                nameNotUtf8: modelData.nameNotUtf8 === true
                size: modelData.size || 0
                onActionsRequested: anchor => root.actionsRequested(anchor, fileRow.modelData)
            }
        }
    }
}
