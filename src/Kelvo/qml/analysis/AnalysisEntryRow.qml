import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One row of an AnalysisEntryModel: the item's kind, name and path, its size and, with `showsShare`,
// a bar showing its part of the whole. A link or special file is named as such (it weighs nothing:
// links are not followed); a folder that cannot be read says so instead of a size; a name that is not
// UTF-8 shows those bytes as "\xFF" and carries a tag saying so. The dots button asks for the item's
// actions; a double click on a folder, or Enter on it, asks to open it; Delete asks to move the item
// to the Trash. Tab reaches each row.
Item {
    id: root
    required property string key
    required property string name
    required property string path
    required property bool nameNotUtf8
    required property bool isDirectory
    required property int kind
    required property string kindText
    required property string sizeText
    required property real share
    required property string shareText
    property bool showsShare: false
    property bool first: false
    signal actionsRequested(Item anchor)
    signal analyzeRequested()
    signal trashRequested()

    readonly property string shownName: name.length > 0 ? name : Theme.t("未命名", "Untitled")

    objectName: "analysisRow"
    implicitHeight: row.implicitHeight + 16
    activeFocusOnTab: true
    Accessible.role: Accessible.ListItem
    Accessible.name: shownName + ", " + sizeText
    Keys.onReturnPressed: if (isDirectory && !AppModel.run.isRunning) root.analyzeRequested()
    Keys.onEnterPressed: if (isDirectory && !AppModel.run.isRunning) root.analyzeRequested()
    Keys.onDeletePressed: if (!AppModel.run.isRunning) root.trashRequested()

    ListRowBackground {
        anchors.fill: parent
        first: root.first
        hovered: hover.hovered || root.activeFocus
    }
    Rectangle {
        anchors.fill: parent
        visible: root.activeFocus
        color: "transparent"
        radius: Theme.radiusSmall
        border.width: 2
        border.color: Theme.focusRing
    }
    HoverHandler {
        id: hover
    }
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: root.actionsRequested(moreButton)
    }
    TapHandler {
        enabled: root.isDirectory && !AppModel.run.isRunning
        onDoubleTapped: root.analyzeRequested()
    }

    RowLayout {
        id: row
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        anchors.leftMargin: 12
        anchors.rightMargin: 6
        spacing: Theme.spacing

        Glyph {
            source: root.isDirectory ? "qrc:/icons/folder.svg" : "qrc:/icons/file.svg"
            size: 20
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 1
            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacingSmall
                Label {
                    id: nameLabel
                    objectName: "rowName"
                    Layout.fillWidth: true
                    // A tag follows right after the name.
                    Layout.maximumWidth: root.nameNotUtf8 ? Math.ceil(nameMetrics.advanceWidth) + 1
                                                          : Number.POSITIVE_INFINITY
                    text: root.shownName
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontBody
                    font.weight: Font.Medium
                    elide: Text.ElideMiddle
                }
                Chip {
                    objectName: "rowNotUtf8Tag"
                    visible: root.nameNotUtf8
                    text: Theme.t("名称不是 UTF-8", "Name not UTF-8")
                    font.pixelSize: Theme.fontCaption
                    topPadding: 1
                    bottomPadding: 1
                    HoverHandler {
                        id: tagHover
                    }
                    ToolTip.visible: tagHover.hovered
                    ToolTip.delay: 400
                    ToolTip.text: Theme.t("这个名称里有不是 UTF-8 的字节，以 \\xFF 这样的形式显示。移到废纸篓、在文件管理器中显示和进入分析都只作用于磁盘上的这一项。",
                                          "This name holds bytes that are not UTF-8, shown as \\xFF and the like. Moving to the Trash, revealing and analysing act on exactly this item, by its name as it is on disk.")
                }
                Item {
                    visible: root.nameNotUtf8
                    Layout.fillWidth: true
                }
                TextMetrics {
                    id: nameMetrics
                    font: nameLabel.font
                    text: nameLabel.text
                }
            }
            Label {
                objectName: "rowKind"
                visible: root.kindText.length > 0
                text: root.kindText
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
            }
            PathLabel {
                objectName: "rowPath"
                Layout.fillWidth: true
                text: root.path
                color: Theme.textTertiary
                font.pixelSize: Theme.fontSmall
            }
        }
        ShareBar {
            objectName: "shareBar"
            visible: root.showsShare
            Layout.preferredWidth: 140
            share: root.share
        }
        Label {
            objectName: "rowShare"
            visible: root.showsShare
            Layout.preferredWidth: 40
            horizontalAlignment: Text.AlignRight
            text: root.shareText
            color: Theme.textSecondary
            font.pixelSize: Theme.fontSmall
        }
        Label {
            objectName: "rowSize"
            Layout.preferredWidth: root.kind === AnalysisEntryModel.UnreadableFolder ? implicitWidth : 78
            horizontalAlignment: Text.AlignRight
            text: root.sizeText
            color: Theme.textPrimary
            font.pixelSize: Theme.fontBody
            font.weight: Font.DemiBold
        }
        MoreButton {
            id: moreButton
            objectName: "rowActionsButton"
            itemName: root.shownName
            onClicked: root.actionsRequested(moreButton)
        }
    }
}
