import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// A modal alert centred over the window: the mark, a title, a message and a row of buttons.
// It is shown while `shown` is true; Escape reports `escaped()` so the owner can clear its state.
Popup {
    id: root
    property bool shown: false
    property string title
    property string message
    property alias buttons: buttonRow.data
    signal escaped()

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 420
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    padding: 24

    onShownChanged: shown ? open() : close()
    Component.onCompleted: if (shown) open()
    onClosed: if (shown) escaped()

    Overlay.modal: Rectangle { color: Theme.scrim }

    background: Item {
        SoftShadow {
            anchors.fill: parent
            radius: Theme.radiusSheet
            spread: 18
            strength: 0.2
        }
        Rectangle {
            id: card
            anchors.fill: parent
            radius: Theme.radiusSheet
            color: Theme.sheetFill
            border.color: Theme.hairline
        }
    }

    contentItem: ColumnLayout {
        spacing: Theme.spacing

        BrandMark {
            size: 44
            Layout.alignment: Qt.AlignHCenter
            Layout.bottomMargin: 2
        }
        Label {
            objectName: "alertTitle"
            Layout.fillWidth: true
            text: root.title
            color: Theme.textPrimary
            font.pixelSize: Theme.fontHeadline
            font.weight: Font.Bold
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
        }
        BodyText {
            objectName: "alertMessage"
            Layout.fillWidth: true
            visible: text.length > 0
            text: root.message
            horizontalAlignment: Text.AlignHCenter
        }
        RowLayout {
            id: buttonRow
            Layout.fillWidth: true
            Layout.topMargin: Theme.spacingSmall
            spacing: Theme.spacingSmall
        }
    }
}
