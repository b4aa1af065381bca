import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The places a scan will search, each with its source and its folder, under a title. Places that do
// not exist right now are dimmed and say so.
GlassPanel {
    id: root
    property string title
    property ScanLocationModel locations

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
                required property string path
                required property string source
                required property bool exists
                objectName: "scanLocationRow"
                Layout.fillWidth: true
                spacing: Theme.spacingSmall
                opacity: location.exists ? 1 : 0.55
                Glyph {
                    source: "qrc:/icons/folder.svg"
                    size: 16
                }
                Label {
                    objectName: "locationLabel"
                    Layout.preferredWidth: 120
                    text: location.source
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontBody
                    font.weight: Font.Medium
                    elide: Text.ElideRight
                }
                PathLabel {
                    objectName: "locationPath"
                    Layout.fillWidth: true
                    text: location.path
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                }
                Label {
                    objectName: "locationMissing"
                    visible: !location.exists
                    text: Theme.t("不存在", "Not found")
                    color: Theme.textTertiary
                    font.pixelSize: Theme.fontSmall
                }
            }
        }
    }
}
