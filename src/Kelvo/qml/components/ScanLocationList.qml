import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The places a scan will search, each with its label and its folder, under a title.
GlassPanel {
    id: root
    property string title
    property var locations: []

    objectName: "scanLocations"

    ColumnLayout {
        width: parent.width
        spacing: Theme.spacingSmall

        Label {
            Layout.fillWidth: true
            text: root.title
            color: Theme.textPrimary
            font.pixelSize: Theme.fontHeadline
            font.weight: Font.DemiBold
        }
        Repeater {
            model: root.locations
            delegate: RowLayout {
                id: location
                required property var modelData
                objectName: "scanLocationRow"
                Layout.fillWidth: true
                spacing: Theme.spacingSmall
                Glyph {
                    source: "qrc:/icons/folder.svg"
                    size: 16
                }
                Label {
                    objectName: "locationLabel"
                    Layout.preferredWidth: 120
                    text: location.modelData.label
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontBody
                    font.weight: Font.Medium
                    elide: Text.ElideRight
                }
                PathLabel {
                    objectName: "locationPath"
                    Layout.fillWidth: true
                    text: location.modelData.path
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                }
            }
        }
    }
}
