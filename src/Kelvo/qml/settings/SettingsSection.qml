import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One group of the settings page: a heading over a glass card holding its rows.
ColumnLayout {
    id: root
    property string title
    default property alias content: rows.data

    spacing: Theme.spacingSmall

    Label {
        Layout.leftMargin: 4
        text: root.title
        color: Theme.textPrimary
        font.pixelSize: Theme.fontHeadline
        font.weight: Font.DemiBold
    }
    GlassPanel {
        Layout.fillWidth: true
        ColumnLayout {
            id: rows
            width: parent.width
            spacing: Theme.spacing + 2
        }
    }
}
