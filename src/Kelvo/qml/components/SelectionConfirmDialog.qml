import QtQuick
import QtQuick.Layouts

// Asks before the chosen rows of a table are acted on: "Cancel" and Escape close it, the confirm
// button closes it and reports `confirmed()`.
AlertDialog {
    id: root
    property string confirmText
    signal confirmed()

    onEscaped: shown = false

    buttons: [
        KButton {
            objectName: "selectionCancelButton"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            text: Theme.t("取消", "Cancel")
            onClicked: root.shown = false
        },
        KButton {
            objectName: "selectionConfirmButton"
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
