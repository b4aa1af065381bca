import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One area of the machine: a title, its main figure with a caption, and the card's own content below.
GlassPanel {
    id: root
    property string title
    property string figure
    property string caption
    default property alias content: body.data

    Layout.fillWidth: true
    Layout.preferredWidth: 1
    Layout.alignment: Qt.AlignTop

    ColumnLayout {
        id: body
        anchors.left: parent.left
        anchors.right: parent.right
        spacing: Theme.spacingSmall

        Label {
            objectName: "cardTitle"
            text: root.title
            color: Theme.textSecondary
            font.pixelSize: Theme.fontSmall
            font.weight: Font.DemiBold
            font.capitalization: Font.AllUppercase
        }
        RowLayout {
            spacing: Theme.spacingSmall
            Label {
                objectName: "cardFigure"
                text: root.figure
                color: Theme.textPrimary
                font.pixelSize: Theme.fontTitle - 4
                font.weight: Font.Bold
            }
            Label {
                objectName: "cardCaption"
                Layout.fillWidth: true
                text: root.caption
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
                elide: Text.ElideRight
            }
        }
    }
}
