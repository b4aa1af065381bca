import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// Asks before a parked destructive action runs; shown while the controller holds one.
AlertDialog {
    objectName: "confirmDialog"
    shown: AppModel.pendingAction !== undefined && AppModel.pendingAction !== null
    title: Theme.t("确认操作", "Confirm Action")
    message: shown ? (AppModel.pendingAction.detail || "")
                     + (AppModel.pendingActionNote.length > 0 ? "\n\n" + AppModel.pendingActionNote : "")
                   : ""
    onEscaped: AppModel.cancelPendingAction()

    buttons: [
        KButton {
            objectName: "confirmCancelButton"
            Layout.fillWidth: true
            text: Theme.t("取消", "Cancel")
            onClicked: AppModel.cancelPendingAction()
        },
        KButton {
            objectName: "confirmContinueButton"
            Layout.fillWidth: true
            primary: true
            text: Theme.t("继续", "Continue")
            onClicked: AppModel.confirmPendingAction()
        }
    ]
}
