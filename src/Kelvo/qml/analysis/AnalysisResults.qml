import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// What the last storage analysis found: the summary figures, the folder's children as a treemap and as
// rows with bars, and the largest files below it. Rows ask for their actions through
// `actionsRequested` with {key, name, path, isDirectory} of their item; folders ask to be analysed
// through `analyzeRequested` with their key.
ColumnLayout {
    id: root
    readonly property var analysis: AppModel.analysis
    signal actionsRequested(Item anchor, var row)
    signal analyzeRequested(string key)

    function rowOf(item) {
        return { key: item.key, name: item.name, path: item.path, isDirectory: item.isDirectory }
    }

    spacing: Theme.spacing

    // Where the folder shown sits in the walked one: each name opens its folder, with no new walk.
    Flow {
        objectName: "analysisCrumbs"
        Layout.fillWidth: true
        Layout.leftMargin: 4
        spacing: 2
        visible: root.analysis.crumbs.length > 1
        Repeater {
            model: root.analysis.crumbs
            delegate: Row {
                id: crumb
                required property int index
                required property string modelData
                readonly property bool last: index === root.analysis.crumbs.length - 1
                spacing: 2
                Label {
                    text: crumb.modelData
                    color: crumb.last ? Theme.textPrimary : Theme.accent
                    font.pixelSize: Theme.fontSmall
                    font.weight: crumb.last ? Font.DemiBold : Font.Normal
                    MouseArea {
                        anchors.fill: parent
                        enabled: !crumb.last && !AppModel.run.isRunning
                        cursorShape: enabled ? Qt.PointingHandCursor : Qt.ArrowCursor
                        onClicked: root.analysis.openCrumb(crumb.index)
                    }
                }
                Label {
                    visible: !crumb.last
                    text: "›"
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                }
            }
        }
    }

    Label {
        objectName: "analysisOrigin"
        Layout.fillWidth: true
        Layout.leftMargin: 4
        visible: text.length > 0
        wrapMode: Text.WordWrap
        color: Theme.textSecondary
        font.pixelSize: Theme.fontSmall
        text: root.analysis.originNote
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: Theme.spacing
        StatTile {
            objectName: "summaryLocation"
            Layout.fillWidth: true
            Layout.preferredWidth: 2
            caption: Theme.t("选中的位置", "Selected location")
            value: root.analysis.reportPath
            isPath: true
        }
        StatTile {
            objectName: "summaryFiles"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            caption: Theme.t("文件数量", "Files")
            value: root.analysis.hasReport ? String(root.analysis.totalFiles) : ""
        }
        StatTile {
            objectName: "summarySize"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            caption: Theme.t("本次检查结果", "In this scan")
            value: root.analysis.hasReport ? Theme.bytes(root.analysis.totalSize) : ""
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
        text: root.analysis.leftOutNote
    }

    SectionHeading {
        objectName: "largestHeading"
        Layout.fillWidth: true
        Layout.topMargin: Theme.spacingSmall
        Layout.leftMargin: 4
        title: Theme.t("占用靠前的项目", "Largest space users")
        count: root.analysis.entries.count
    }

    TreemapView {
        Layout.fillWidth: true
        Layout.preferredHeight: 320
        visible: root.analysis.entries.count > 0
        onFolderChosen: key => root.analyzeRequested(key)
        onActionsRequested: (anchor, row) => root.actionsRequested(anchor, row)
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 0
        Repeater {
            model: root.analysis.entries
            delegate: AnalysisEntryRow {
                id: entryRow
                required property int index
                Layout.fillWidth: true
                first: index === 0
                showsShare: true
                onActionsRequested: anchor => root.actionsRequested(anchor, root.rowOf(entryRow))
                onAnalyzeRequested: root.analyzeRequested(entryRow.key)
            }
        }
    }

    SectionHeading {
        objectName: "largeFilesHeading"
        Layout.fillWidth: true
        Layout.topMargin: Theme.spacing
        Layout.leftMargin: 4
        visible: root.analysis.largeFiles.count > 0
        title: Theme.t("大文件", "Large Files")
        count: root.analysis.largeFiles.count
        note: Theme.t("建议重点查看", "Worth checking first")
    }

    ColumnLayout {
        Layout.fillWidth: true
        visible: root.analysis.largeFiles.count > 0
        spacing: 0
        Repeater {
            model: root.analysis.largeFiles
            delegate: AnalysisEntryRow {
                id: fileRow
                required property int index
                objectName: "largeFileRow"
                Layout.fillWidth: true
                first: index === 0
                onActionsRequested: anchor => root.actionsRequested(anchor, root.rowOf(fileRow))
            }
        }
    }
}
