import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// One row of an editable list of entries: the entry, shortened in the middle when it does not fit;
// under it, with a warning mark, why it cannot work when it cannot; and a button that removes it.
// Tab reaches the button, and Delete while it has the focus removes the row too.
Item {
    id: root
    property string entry
    property string problem
    property bool first: false
    readonly property alias removeButton: removeButton
    signal removeClicked()

    implicitHeight: layout.implicitHeight + 14
    Accessible.role: Accessible.ListItem
    Accessible.name: entry
    Accessible.description: problem
    Keys.onDeletePressed: removeClicked()

    HoverHandler {
        id: hover
    }
    ListRowBackground {
        anchors.fill: parent
        first: root.first
        hovered: hover.hovered
    }
    RowLayout {
        id: layout
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        anchors.leftMargin: 12
        anchors.rightMargin: 8
        spacing: Theme.spacingSmall

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            PathLabel {
                objectName: "entryText"
                Layout.fillWidth: true
                text: root.entry
                font.family: Theme.monoFamily
            }
            RowLayout {
                objectName: "entryProblem"
                Layout.fillWidth: true
                visible: root.problem.length > 0
                spacing: 5
                Glyph {
                    objectName: "entryWarning"
                    Layout.alignment: Qt.AlignTop
                    source: "qrc:/icons/warning.svg"
                    size: 14
                }
                Label {
                    objectName: "entryProblemText"
                    Layout.fillWidth: true
                    text: root.problem
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                    wrapMode: Text.WordWrap
                }
            }
        }
        RemoveButton {
            id: removeButton
            objectName: "entryRemoveButton"
            entry: root.entry
            onClicked: root.removeClicked()
        }
    }
}
