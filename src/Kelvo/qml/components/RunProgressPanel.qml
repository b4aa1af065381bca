import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// What a running scan is doing: a line naming the current step, the count so far, an activity bar
// and a button that stops the run.
GlassPanel {
    id: root
    property string title
    property string detail
    property string cancelText
    property bool cancellable: true
    signal cancelRequested()

    objectName: "runProgress"

    ColumnLayout {
        width: parent.width
        spacing: Theme.spacing

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 3
                Label {
                    objectName: "runProgressTitle"
                    Layout.fillWidth: true
                    text: root.title
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontBody
                    font.weight: Font.Medium
                    elide: Text.ElideMiddle
                }
                Label {
                    objectName: "runProgressDetail"
                    Layout.fillWidth: true
                    visible: text.length > 0
                    text: root.detail
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                    elide: Text.ElideRight
                }
            }
            KButton {
                objectName: "runCancelButton"
                visible: root.cancellable
                text: root.cancelText
                onClicked: root.cancelRequested()
            }
        }
        ActivityBar {
            objectName: "runActivityBar"
            Layout.fillWidth: true
        }
    }
}
