import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The update sheet: the new release's version, size and notes, and the installer's progress as the
// controller reports it. Escape cancels a download or closes the sheet (never during the
// installation); Enter presses the highlighted button.
Popup {
    id: root
    readonly property var update: AppModel.update
    readonly property bool shown: update.showingUpdateSheet
    readonly property int phase: update.installerState
    readonly property bool progressKnown: update.downloadProgress > 0

    function dismiss() {
        if (phase === UpdateController.Downloading)
            update.cancelDownload()
        else if (phase !== UpdateController.Installing)
            update.showingUpdateSheet = false
    }
    function accept() {
        if (phase === UpdateController.ReadyToInstall)
            update.restartAndInstall()
        else if (phase === UpdateController.Idle || phase === UpdateController.Failed)
            update.installUpdate()
    }

    objectName: "updateSheet"
    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(560, parent.width - 96)
    modal: true
    focus: true
    closePolicy: Popup.NoAutoClose // Escape depends on the phase: see dismiss()
    padding: 24

    onShownChanged: shown ? open() : close()
    Component.onCompleted: if (shown) open()
    onOpened: body.forceActiveFocus()

    Overlay.modal: Rectangle { color: Theme.scrim }

    background: Item {
        SoftShadow {
            anchors.fill: parent
            radius: Theme.radiusSheet
            spread: 18
            strength: 0.2
        }
        Rectangle {
            anchors.fill: parent
            radius: Theme.radiusSheet
            color: Theme.sheetFill
            border.color: Theme.hairline
        }
    }

    contentItem: ColumnLayout {
        id: body
        spacing: Theme.spacing
        focus: true
        Keys.onEscapePressed: root.dismiss()
        Keys.onReturnPressed: root.accept()
        Keys.onEnterPressed: root.accept()

        RowLayout {
            spacing: Theme.spacing
            BrandMark { size: 40 }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2
                Label {
                    objectName: "updateSheetTitle"
                    Layout.fillWidth: true
                    text: {
                        switch (root.phase) {
                        case UpdateController.Downloading: return Theme.t("正在下载更新…", "Downloading update…")
                        case UpdateController.ReadyToInstall: return Theme.t("下载完成", "Download Complete")
                        case UpdateController.Installing: return Theme.t("正在安装…", "Installing…")
                        case UpdateController.Failed: return Theme.t("更新失败", "Update Failed")
                        }
                        return Theme.t("发现新版本", "Update Available")
                    }
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontSection
                    font.weight: Font.Bold
                    wrapMode: Text.WordWrap
                }
                Label {
                    objectName: "updateSheetVersion"
                    Layout.fillWidth: true
                    text: "Kelvo " + root.update.latestUpdateVersionText
                          + (root.update.packageSize > 0 ? " · " + Theme.bytes(root.update.packageSize) : "")
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontBody
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(180, notes.implicitHeight + 20)
            visible: root.update.releaseNotes.length > 0
            radius: Theme.radiusControl
            color: Theme.editorFill
            border.color: Theme.hairline

            ScrollView {
                id: notesView
                anchors.fill: parent
                anchors.margins: 10
                clip: true
                contentWidth: availableWidth
                Label {
                    id: notes
                    objectName: "updateReleaseNotes"
                    width: notesView.availableWidth
                    text: root.update.releaseNotes
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontSmall + 0.5
                    lineHeight: 1.15
                }
            }
        }

        // Downloading: the share received, or a moving bar while the server does not say how much.
        ColumnLayout {
            Layout.fillWidth: true
            visible: root.phase === UpdateController.Downloading || root.phase === UpdateController.Installing
            spacing: 6
            Rectangle {
                objectName: "updateProgressBar"
                Layout.fillWidth: true
                visible: root.phase === UpdateController.Downloading && root.progressKnown
                implicitHeight: 6
                radius: 3
                color: Theme.controlFill
                Rectangle {
                    width: parent.width * Math.min(1, root.update.downloadProgress)
                    height: parent.height
                    radius: 3
                    color: Theme.accent
                }
            }
            ActivityBar {
                Layout.fillWidth: true
                visible: root.phase === UpdateController.Installing || !root.progressKnown
            }
            Label {
                objectName: "updateProgressText"
                visible: text.length > 0
                text: root.phase === UpdateController.Installing
                      ? Theme.t("请勿关闭应用", "Please do not close the app")
                      : root.progressKnown ? (root.update.downloadProgress * 100).toFixed(0) + "%" : ""
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
            }
        }

        BodyText {
            objectName: "updateSheetDetail"
            Layout.fillWidth: true
            visible: text.length > 0
            text: root.phase === UpdateController.ReadyToInstall
                  ? Theme.t("点击下面的按钮，Kelvo 会关闭、安装更新并自动重新打开。",
                            "Click the button below. Kelvo will close, install the update, and relaunch automatically.")
                  : root.phase === UpdateController.Failed ? root.update.installerMessage : ""
            color: root.phase === UpdateController.Failed ? Theme.dangerText : Theme.textSecondary
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 4
            spacing: Theme.spacingSmall
            KButton {
                objectName: "updateRevealButton"
                visible: root.update.canRevealPackage
                text: Theme.bySystem(Theme.t("在访达中显示", "Show in Finder"),
                                     Theme.t("在文件管理器中显示", "Show in File Manager"))
                onClicked: root.update.revealDownloadedPackage()
            }
            Item { Layout.fillWidth: true }
            KButton {
                objectName: "updateCancelButton"
                visible: root.phase === UpdateController.Downloading
                text: Theme.t("取消", "Cancel")
                onClicked: root.dismiss()
            }
            KButton {
                objectName: "updateLaterButton"
                visible: root.phase === UpdateController.ReadyToInstall
                text: Theme.t("稍后再说", "Later")
                onClicked: root.dismiss()
            }
            KButton {
                objectName: "updateCloseButton"
                visible: root.phase === UpdateController.Failed || root.phase === UpdateController.Idle
                text: Theme.t("关闭", "Close")
                onClicked: root.dismiss()
            }
            KButton {
                objectName: "updateInstallButton"
                visible: root.phase === UpdateController.ReadyToInstall
                primary: true
                text: Theme.t("重启并安装", "Restart & Install")
                onClicked: root.accept()
            }
            KButton {
                objectName: "updateRetryButton"
                visible: root.phase === UpdateController.Failed
                primary: true
                text: Theme.t("重试", "Retry")
                onClicked: root.accept()
            }
            KButton {
                objectName: "updateDownloadButton"
                visible: root.phase === UpdateController.Idle
                primary: true
                text: Theme.t("下载并安装", "Download & Install")
                onClicked: root.accept()
            }
        }
    }
}
