import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One installer file: its check box, its name, its kind when it has one (a Linux package), its folder,
// where it was found and its size. A click anywhere on the row toggles it.
Item {
    id: root
    property string name
    property string path
    property string source
    property string kind
    property string sizeText
    property bool first: false
    property bool selected: false
    signal toggled()

    objectName: "installerRow"
    Accessible.role: Accessible.ListItem
    Accessible.name: name + ", " + sizeText
    Accessible.description: source + " · " + path
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
    MouseArea {
        objectName: "rowToggleArea"
        anchors.fill: parent
        onClicked: root.toggled()
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
            Accessible.name: root.name
            onClicked: root.toggled()
        }
        Glyph {
            source: "qrc:/icons/installer.svg"
            size: 20
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 1
            Label {
                objectName: "rowName"
                Layout.fillWidth: true
                text: root.name
                color: Theme.textPrimary
                font.pixelSize: Theme.fontBody
                font.weight: Font.Medium
                elide: Text.ElideMiddle
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacingSmall
                Label {
                    objectName: "rowKind"
                    visible: root.kind.length > 0
                    text: root.kind
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                    font.weight: Font.Medium
                }
                PathLabel {
                    objectName: "rowPath"
                    Layout.fillWidth: true
                    text: root.path
                    color: Theme.textTertiary
                    font.pixelSize: Theme.fontSmall
                }
            }
        }
        Label {
            objectName: "rowSource"
            Layout.preferredWidth: 110
            horizontalAlignment: Text.AlignRight
            text: root.source
            color: Theme.textSecondary
            font.pixelSize: Theme.fontSmall
            elide: Text.ElideRight
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
    }
}
