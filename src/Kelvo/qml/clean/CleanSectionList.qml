import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The entries of a Smart Clean report under their section titles, in report order.
ColumnLayout {
    id: root
    property var sections: []

    spacing: Theme.spacingLarge

    Repeater {
        model: root.sections
        delegate: ColumnLayout {
            id: section
            required property var modelData

            Layout.fillWidth: true
            spacing: 2

            RowLayout {
                Layout.fillWidth: true
                Layout.leftMargin: 4
                Layout.bottomMargin: 2
                spacing: Theme.spacingSmall
                Label {
                    objectName: "cleanSectionTitle"
                    text: section.modelData.title
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontHeadline - 1
                    font.weight: Font.DemiBold
                }
                Label {
                    objectName: "cleanSectionCount"
                    text: section.modelData.entries.length
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
                Item { Layout.fillWidth: true }
            }

            Repeater {
                model: section.modelData.entries
                delegate: CleanEntryRow {
                    required property var modelData
                    required property int index

                    Layout.fillWidth: true
                    first: index === 0
                    path: modelData.path
                    note: modelData.note
                    status: modelData.status
                }
            }
        }
    }
}
