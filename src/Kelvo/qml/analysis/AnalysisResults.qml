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
    signal trashRequested(var row)
    // Narrows the folder's rows (not the treemap) to the names that hold it.
    property string filterText
    readonly property int shownCount: shownEntries.count

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
                    color: crumb.last ? Theme.textPrimary : Theme.accentText
                    font.pixelSize: Theme.fontSmall
                    font.weight: crumb.last ? Font.DemiBold : Font.Normal
                    font.underline: activeFocus
                    activeFocusOnTab: !crumb.last
                    Accessible.role: crumb.last ? Accessible.StaticText : Accessible.Link
                    Accessible.name: text
                    Accessible.onPressAction: crumbArea.clicked(null)
                    Keys.onReturnPressed: crumbArea.clicked(null)
                    Keys.onSpacePressed: crumbArea.clicked(null)
                    MouseArea {
                        id: crumbArea
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
        OptionButtons {
            objectName: "analysisSort"
            value: root.analysis.sortKey
            options: [{ text: Theme.t("大小", "Size"), value: "size" },
                      { text: Theme.t("名称", "Name"), value: "name" },
                      { text: Theme.t("项目数", "Items"), value: "items" },
                      { text: Theme.t("修改时间", "Modified"), value: "modified" }]
            onChosen: key => root.analysis.sortKey = key
        }
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
        RowFilter {
            id: shownEntries
            sourceModel: root.analysis.entries
            roles: ["name", "kindText"]
            text: root.filterText
        }
        Repeater {
            model: shownEntries
            delegate: AnalysisEntryRow {
                id: entryRow
                required property int index
                Layout.fillWidth: true
                first: index === 0
                showsShare: true
                onActionsRequested: anchor => root.actionsRequested(anchor, root.rowOf(entryRow))
                onTrashRequested: root.trashRequested(root.rowOf(entryRow))
                onAnalyzeRequested: root.analyzeRequested(entryRow.key)
            }
        }
    }

    SectionHeading {
        objectName: "largeFilesHeading"
        Layout.fillWidth: true
        Layout.topMargin: Theme.spacing
        Layout.leftMargin: 4
        title: Theme.t("大文件", "Large Files")
        count: root.analysis.largeFiles.count
        note: Theme.t("建议重点查看", "Worth checking first")
        OptionButtons {
            objectName: "largeFileFloor"
            value: root.analysis.largeFileFloor
            options: [1e6, 1e7, 1e8].map(bytes => ({ text: "≥ " + Theme.bytes(bytes), value: bytes }))
            onChosen: bytes => root.analysis.largeFileFloor = bytes
        }
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
                onTrashRequested: root.trashRequested(root.rowOf(fileRow))
            }
        }
    }

    Label {
        Layout.fillWidth: true
        Layout.leftMargin: 4
        visible: root.analysis.largeFiles.count === 0
        text: Theme.t("没有达到这个大小的文件。", "No file is this large.")
        color: Theme.textSecondary
        font.pixelSize: Theme.fontSmall
    }

    SectionHeading {
        objectName: "oldFilesHeading"
        Layout.fillWidth: true
        Layout.topMargin: Theme.spacing
        Layout.leftMargin: 4
        title: Theme.t("旧文件", "Old Files")
        count: root.analysis.oldFiles.count
        note: root.analysis.oldFilesCount > 0
              ? Theme.t(root.analysis.oldFilesCount + " 个，共 " + Theme.bytes(root.analysis.oldFilesBytes),
                        root.analysis.oldFilesCount + (root.analysis.oldFilesCount === 1 ? " file, " : " files, ")
                        + Theme.bytes(root.analysis.oldFilesBytes))
              : ""
        OptionButtons {
            objectName: "oldMonths"
            value: root.analysis.oldMonths
            options: [3, 6, 12, 24].map(months => ({ value: months,
                                                     text: Theme.t(months + " 个月未改", months + " months") }))
            onChosen: months => root.analysis.oldMonths = months
        }
    }

    Label {
        Layout.fillWidth: true
        Layout.leftMargin: 4
        visible: root.analysis.oldFiles.count === 0
        text: Theme.t("这段时间里所有文件都改动过。", "Every file was changed in that time.")
        color: Theme.textSecondary
        font.pixelSize: Theme.fontSmall
    }

    ColumnLayout {
        Layout.fillWidth: true
        visible: root.analysis.oldFiles.count > 0
        spacing: 0
        Repeater {
            model: root.analysis.oldFiles
            delegate: AnalysisEntryRow {
                id: oldRow
                required property int index
                objectName: "oldFileRow"
                Layout.fillWidth: true
                first: index === 0
                onActionsRequested: anchor => root.actionsRequested(anchor, root.rowOf(oldRow))
                onTrashRequested: root.trashRequested(root.rowOf(oldRow))
            }
        }
    }

    SectionHeading {
        objectName: "typesHeading"
        Layout.fillWidth: true
        Layout.topMargin: Theme.spacing
        Layout.leftMargin: 4
        visible: root.analysis.typeTotals.length > 0
        title: Theme.t("按类型", "By Type")
    }

    ColumnLayout {
        Layout.fillWidth: true
        Layout.leftMargin: 12
        Layout.rightMargin: 12
        spacing: 6
        Repeater {
            model: root.analysis.typeTotals
            delegate: RowLayout {
                required property var modelData
                objectName: "typeRow"
                Layout.fillWidth: true
                spacing: Theme.spacing
                Label {
                    Layout.preferredWidth: 200
                    text: modelData.name
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontSmall
                    elide: Text.ElideRight
                }
                ShareBar {
                    Layout.fillWidth: true
                    share: modelData.share
                }
                Label {
                    Layout.preferredWidth: 90
                    horizontalAlignment: Text.AlignRight
                    text: Theme.t(modelData.files + " 个文件", modelData.files + (modelData.files === 1 ? " file" : " files"))
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                }
                Label {
                    Layout.preferredWidth: 80
                    horizontalAlignment: Text.AlignRight
                    text: Theme.bytes(modelData.bytes)
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontSmall
                    font.weight: Font.DemiBold
                }
            }
        }
    }
}
