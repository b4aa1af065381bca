import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// A label and its value on one line, the value at the right end.
RowLayout {
    id: root
    property string label
    property string value
    property color valueColor: Theme.textPrimary

    spacing: Theme.spacingSmall
    Label {
        text: root.label
        color: Theme.textSecondary
        font.pixelSize: Theme.fontSmall
    }
    Label {
        objectName: "figureValue"
        Layout.fillWidth: true
        horizontalAlignment: Text.AlignRight
        text: root.value
        color: root.valueColor
        font.pixelSize: Theme.fontSmall
        font.weight: Font.Medium
        elide: Text.ElideLeft
    }
}
