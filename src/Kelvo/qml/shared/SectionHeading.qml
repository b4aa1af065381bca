import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The heading of one part of a results list: a title, an optional count badge, an optional note
// after it and an optional figure at the right end.
RowLayout {
    id: root
    property string title
    property int count: -1
    property string note
    property string figure

    spacing: Theme.spacingSmall

    Label {
        objectName: "sectionTitle"
        text: root.title
        color: Theme.textPrimary
        font.pixelSize: Theme.fontHeadline - 1
        font.weight: Font.DemiBold
    }
    Label {
        objectName: "sectionCount"
        visible: root.count >= 0
        text: root.count
        color: Theme.textSecondary
        font.pixelSize: Theme.fontCaption
        font.weight: Font.DemiBold
        leftPadding: 7
        rightPadding: 7
        topPadding: 1
        bottomPadding: 1
        background: Rectangle {
            radius: height / 2
            color: Theme.controlFill
        }
    }
    Chip {
        objectName: "sectionNote"
        visible: root.note.length > 0
        text: root.note
    }
    Item {
        Layout.fillWidth: true
    }
    Label {
        objectName: "sectionFigure"
        visible: root.figure.length > 0
        text: root.figure
        color: Theme.textSecondary
        font.pixelSize: Theme.fontBody
        font.weight: Font.DemiBold
    }
}
