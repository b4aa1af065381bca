import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// Asks before what the user chose is acted on: "Cancel" and Escape close it, the confirm button
// closes it and reports `confirmed()`. The buttons are named after `buttonNamePrefix`.
AlertDialog {
    id: root
    property string confirmText
    property string buttonNamePrefix: "selection"
    signal confirmed()

    onEscaped: shown = false

    buttons: [
        KButton {
            objectName: root.buttonNamePrefix + "CancelButton"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            text: Theme.t("取消", "Cancel")
            onClicked: root.shown = false
        },
        KButton {
            objectName: root.buttonNamePrefix + "ConfirmButton"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            primary: true
            text: root.confirmText
            onClicked: {
                root.shown = false
                root.confirmed()
            }
        }
    ]
}
