import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One project artefact folder: its check box, what it is (the matched name and its file and folder
// counts, or that no project file was found around it), where it is, and its size. The dots button
// (or a right click) asks for its actions.
Item {
    id: root
    property string name
    property string path
    property string detail
    property string sizeText
    property bool first: false
    property bool selected: false
    property bool hasProjectFile: true
    signal actionsRequested(Item anchor)
    signal toggled()

    readonly property string shownName: name.length > 0 ? name : Theme.t("未命名", "Untitled")

    objectName: "purgeRow"
    Accessible.role: Accessible.ListItem
    Accessible.name: shownName + ", " + sizeText
    Accessible.description: detail.length > 0 ? path + " · " + detail : path
    Accessible.selected: selected
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

        SelectBox {
            objectName: "rowSelectBox"
            selected: root.selected
            Accessible.name: root.shownName
            onClicked: root.toggled()
        }
        Glyph {
            source: "qrc:/icons/folder.svg"
            size: 20
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 1
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
            objectName: "rowNoProjectMark"
            visible: !root.hasProjectFile
            text: Theme.t("没有找到项目文件", "No project file found")
        }
        Label {
            objectName: "rowSize"
            Layout.preferredWidth: 78
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
