import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// A tool page's toolbar: its buttons in a row, and beside them where there is room (else under them)
// the footnote about what the buttons do and the line telling when the page's job last ran.
GridLayout {
    id: root
    property string footnote
    // A toolbar whose row fills the width (a path field) keeps its notes under it.
    property bool notesBeside: true
    // The feature whose last run the line tells of (an AppFeature).
    property int lastRunFeature: -1
    readonly property LastRun lastRun: LastRun {
        feature: root.lastRunFeature
    }
    default property alias buttons: row.data

    columns: notesBeside && width >= row.implicitWidth + footnoteRow.implicitWidth + lastRunRow.implicitWidth
                                        + 3 * Theme.spacingLarge ? 2 : 1
    columnSpacing: Theme.spacingLarge
    rowSpacing: Theme.spacing

    RowLayout {
        id: row
        Layout.fillWidth: root.columns === 1
        spacing: Theme.spacingSmall
    }

    Flow {
        id: notes
        Layout.fillWidth: true
        Layout.alignment: Qt.AlignVCenter
        spacing: Theme.spacingLarge

        Row {
            id: footnoteRow
            spacing: 6
            Glyph {
                anchors.verticalCenter: parent.verticalCenter
                source: "qrc:/icons/info.svg"
                size: 14
            }
            Label {
                objectName: "toolbarFootnote"
                anchors.verticalCenter: parent.verticalCenter
                text: root.footnote
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
            }
        }
        Row {
            id: lastRunRow
            spacing: 6
            Rectangle {
                anchors.verticalCenter: parent.verticalCenter
                width: 6
                height: 6
                radius: 3
                color: Theme.textTertiary
            }
            Label {
                objectName: "lastRunLine"
                anchors.verticalCenter: parent.verticalCenter
                text: root.lastRun.text
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
            }
            // What went to the Trash frees its space only when the Trash is emptied: the way there.
            Label {
                objectName: "emptyTrashLink"
                anchors.verticalCenter: parent.verticalCenter
                visible: root.lastRun.movedToTrash
                text: Theme.t("· 在智能清理中清空废纸篓", "· Empty the Trash in Smart Clean")
                color: Theme.accentText
                font.pixelSize: Theme.fontSmall
                font.underline: emptyTrashArea.containsMouse || activeFocus
                activeFocusOnTab: visible
                Accessible.role: Accessible.Link
                Accessible.name: Theme.t("在智能清理中清空废纸篓", "Empty the Trash in Smart Clean")
                Accessible.onPressAction: emptyTrashArea.clicked(null)
                Keys.onReturnPressed: emptyTrashArea.clicked(null)
                Keys.onSpacePressed: emptyTrashArea.clicked(null)
                MouseArea {
                    id: emptyTrashArea
                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: AppModel.selectedFeature = AppFeature.Clean
                }
            }
        }
    }
}
