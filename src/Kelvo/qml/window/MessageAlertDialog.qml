import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// Shows the controller's alert message until the user dismisses it.
AlertDialog {
    objectName: "messageDialog"
    shown: AppModel.run.alertMessage !== undefined && AppModel.run.alertMessage !== null
    title: "Kelvo"
    message: shown ? String(AppModel.run.alertMessage) : ""
    onEscaped: AppModel.run.dismissAlert()

    buttons: [
        KButton {
            objectName: "messageOkButton"
            Layout.fillWidth: true
            primary: true
            text: Theme.t("好", "OK")
            onClicked: AppModel.run.dismissAlert()
        }
    ]
}
