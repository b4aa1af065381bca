import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// Shows the controller's alert message until the user dismisses it.
AlertDialog {
    objectName: "messageDialog"
    shown: AppModel.alertMessage !== undefined && AppModel.alertMessage !== null
    title: "Kelvo"
    message: shown ? String(AppModel.alertMessage) : ""
    onEscaped: AppModel.dismissAlert()

    buttons: [
        KButton {
            objectName: "messageOkButton"
            Layout.fillWidth: true
            primary: true
            text: Theme.t("好", "OK")
            onClicked: AppModel.dismissAlert()
        }
    ]
}
