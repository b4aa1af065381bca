import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One project artefact folder: what it is (the matched name and its file and folder counts), where
// it is, and its size. The dots button (or a right click) asks for its actions; a folder already
// moved to the Trash is dimmed, marked as such and offers no actions.
Item {
    id: root
    property string name
    property string path
    property string detail
    property real byteCount: 0
    property bool first: false
    property bool trashed: false
    signal actionsRequested(Item anchor)

    readonly property string shownName: name.length > 0 ? name : Theme.t("未命名", "Untitled")

    objectName: "purgeRow"
    implicitHeight: row.implicitHeight + 16

    ListRowBackground {
        anchors.fill: parent
        first: root.first
        hovered: hover.hovered
    }
    HoverHandler {
        id: hover
    }
    TapHandler {
        enabled: !root.trashed
        acceptedButtons: Qt.RightButton
        onTapped: root.actionsRequested(moreButton)
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
            source: "qrc:/icons/folder.svg"
            size: 20
            opacity: root.trashed ? 0.45 : 1
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 1
            opacity: root.trashed ? 0.55 : 1
            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacingSmall
                Label {
                    objectName: "rowName"
                    text: root.shownName
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontBody
                    font.weight: Font.Medium
                }
                Label {
                    objectName: "rowDetail"
                    Layout.fillWidth: true
                    visible: text.length > 0
                    text: root.detail
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                    elide: Text.ElideRight
                }
            }
            PathLabel {
                objectName: "rowPath"
                Layout.fillWidth: true
                text: root.path
                color: Theme.textTertiary
                font.pixelSize: Theme.fontSmall
            }
        }
        Chip {
            objectName: "rowTrashedMark"
            visible: root.trashed
            text: Theme.t("已移到废纸篓", "Moved to Trash")
        }
        Label {
            objectName: "rowSize"
            opacity: root.trashed ? 0.55 : 1
            Layout.preferredWidth: 78
            horizontalAlignment: Text.AlignRight
            text: Theme.bytes(root.byteCount)
            color: Theme.textPrimary
            font.pixelSize: Theme.fontBody
            font.weight: Font.DemiBold
        }
        MoreButton {
            id: moreButton
            objectName: "rowActionsButton"
            enabled: !root.trashed
            opacity: root.trashed ? 0 : 1
            onClicked: root.actionsRequested(moreButton)
        }
    }
}
