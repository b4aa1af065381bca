import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One tile of the treemap: a calm colour, the item's name and size where they fit, and its name and
// size in a tooltip. A folder tile can be clicked to look inside it.
Rectangle {
    id: root
    property string name
    property real size: 0
    property string sizeText
    property bool isDirectory: false
    property color baseColor: "#d5d9e0"
    signal chosen()

    readonly property string shownName: name.length > 0 ? name : Theme.t("未命名", "Untitled")
    readonly property bool labelled: width >= 54 && height >= 30

    objectName: "treemapTile"
    radius: Theme.radiusSmall
    color: hover.hovered && isDirectory ? Qt.darker(baseColor, 1.08) : baseColor
    border.color: Qt.rgba(1, 1, 1, 0.7)
    border.width: 1

    HoverHandler {
        id: hover
        cursorShape: root.isDirectory && !AppModel.run.isRunning ? Qt.PointingHandCursor : Qt.ArrowCursor
    }
    TapHandler {
        enabled: root.isDirectory && !AppModel.run.isRunning
        onTapped: root.chosen()
    }
    ToolTip.visible: hover.hovered
    ToolTip.delay: 400
    ToolTip.text: root.shownName + " · " + root.sizeText

    ColumnLayout {
        visible: root.labelled
        anchors.fill: parent
        anchors.margins: 7
        spacing: 0
        Label {
            objectName: "tileName"
            Layout.fillWidth: true
            text: root.shownName
            color: Theme.textPrimary
            font.pixelSize: Theme.fontSmall
            font.weight: Font.DemiBold
            elide: Text.ElideRight
        }
        Label {
            objectName: "tileSize"
            Layout.fillWidth: true
            visible: root.height >= 46
            text: root.sizeText
            color: Theme.textSecondary
            font.pixelSize: Theme.fontCaption
            elide: Text.ElideRight
        }
        Item {
            Layout.fillHeight: true
        }
    }
}
