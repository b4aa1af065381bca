import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One application: its check box, its icon, name and identifier, where it is installed, when it was
// last opened and what removing it frees. The chevron opens the list of its leftovers, each with a
// check box: the ones named after the app are chosen by default, the ones that merely contain its
// name are marked as possible and stay unless chosen. A click on the row's main line toggles it.
Item {
    id: root
    property string name
    property string bundleID
    property string source
    property string path
    property string iconPath
    property string sizeText
    property string appSizeText
    property string leftoverSizeText
    property string lastOpenedText
    // The app's leftovers with their choice.
    property UninstallLeftoverModel leftovers: null
    property bool first: false
    property bool selected: false
    property bool expanded: false
    signal toggled()
    signal expandToggled()

    objectName: "uninstallRow"
    Accessible.role: Accessible.ListItem
    Accessible.name: name + ", " + sizeText
    Accessible.description: source + " · " + lastOpenedText
    Accessible.selected: selected
    implicitHeight: column.implicitHeight + 16

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
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: mainLine.height + 16
        onClicked: root.toggled()
    }

    ColumnLayout {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        anchors.leftMargin: 12
        anchors.rightMargin: 6
        spacing: Theme.spacingSmall

        RowLayout {
            id: mainLine
            Layout.fillWidth: true
            spacing: Theme.spacing

            SelectBox {
                objectName: "rowSelectBox"
                selected: root.selected
                Accessible.name: root.name
                onClicked: root.toggled()
            }
            // The app's own icon (a Linux app's icon file, a bundle's from its Info.plist) when it has a
            // readable one, the neutral one otherwise.
            Image {
                objectName: "rowAppIcon"
                readonly property string iconSource: root.iconPath || root.path
                Layout.preferredWidth: 26
                Layout.preferredHeight: 26
                source: iconSource ? "image://appicon/" + encodeURIComponent(iconSource) : ""
                sourceSize: Qt.size(52, 52)
                asynchronous: true
                fillMode: Image.PreserveAspectFit
                smooth: true
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
                    elide: Text.ElideRight
                }
                Label {
                    objectName: "rowBundleID"
                    Layout.fillWidth: true
                    visible: text.length > 0
                    text: root.bundleID
                    color: Theme.textTertiary
                    font.pixelSize: Theme.fontSmall
                    elide: Text.ElideRight
                }
            }
            Label {
                objectName: "rowSource"
                Layout.preferredWidth: 140
                horizontalAlignment: Text.AlignRight
                text: root.source
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
                elide: Text.ElideRight
            }
            Label {
                objectName: "rowLastOpened"
                Layout.preferredWidth: 96
                horizontalAlignment: Text.AlignRight
                text: root.lastOpenedText
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
                elide: Text.ElideRight
            }
            Label {
                objectName: "rowSize"
                Layout.preferredWidth: 78
                horizontalAlignment: Text.AlignRight
                text: root.sizeText || "—"
                color: Theme.textPrimary
                font.pixelSize: Theme.fontBody
                font.weight: Font.DemiBold
            }
            AbstractButton {
                id: expander
                objectName: "rowExpandButton"
                implicitWidth: 28
                implicitHeight: 28
                hoverEnabled: true
                focusPolicy: Qt.StrongFocus
                Accessible.name: Theme.t("残留文件", "Leftovers")
                onClicked: root.expandToggled()
                contentItem: Item {
                    Glyph {
                        anchors.centerIn: parent
                        source: "qrc:/icons/chevron-right.svg"
                        size: 16
                        rotation: root.expanded ? 90 : 0
                    }
                }
                background: Rectangle {
                    radius: height / 2
                    color: expander.down ? Theme.controlFillPressed : expander.hovered ? Theme.controlFill : "transparent"
                    border.width: expander.visualFocus ? 2 : 0
                    border.color: Theme.focusRing
                }
            }
        }

        ColumnLayout {
            objectName: "rowLeftovers"
            Layout.fillWidth: true
            Layout.leftMargin: 18 + 26 + 2 * Theme.spacing
            Layout.rightMargin: 34
            Layout.bottomMargin: 4
            visible: root.expanded
            spacing: 3

            Label {
                objectName: "rowSizeBreakdown"
                Layout.fillWidth: true
                text: Theme.t("应用本体 ", "App ") + (root.appSizeText || "—")
                      + Theme.t(" · 残留 ", " · Leftovers ") + (root.leftoverSizeText || "—")
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
            }
            Label {
                objectName: "rowNoLeftovers"
                Layout.fillWidth: true
                visible: !root.leftovers || root.leftovers.count === 0
                text: Theme.t("没有找到残留文件。", "No leftovers found.")
                color: Theme.textTertiary
                font.pixelSize: Theme.fontSmall
            }
            Repeater {
                model: root.leftovers
                delegate: RowLayout {
                    id: leftoverRow
                    required property string key
                    required property bool chosen
                    required property string path
                    required property string sizeText
                    required property bool strong
                    objectName: "leftoverRow"
                    Layout.fillWidth: true
                    spacing: Theme.spacingSmall

                    SelectBox {
                        objectName: "leftoverSelectBox"
                        implicitWidth: 14
                        implicitHeight: 14
                        selected: leftoverRow.chosen
                        Accessible.name: leftoverRow.path
                        onClicked: root.leftovers.setChosen([leftoverRow.key], !leftoverRow.chosen)
                    }
                    PathLabel {
                        objectName: "leftoverPath"
                        Layout.fillWidth: true
                        text: leftoverRow.path
                        color: Theme.textTertiary
                        font.pixelSize: Theme.fontSmall
                    }
                    Label {
                        objectName: "leftoverPossible"
                        visible: !leftoverRow.strong
                        text: Theme.t("可能相关", "Possible match")
                        color: Theme.textTertiary
                        font.pixelSize: Theme.fontSmall
                        font.italic: true
                    }
                    Label {
                        text: leftoverRow.sizeText
                        color: Theme.textTertiary
                        font.pixelSize: Theme.fontSmall
                    }
                }
            }
        }
    }
}
