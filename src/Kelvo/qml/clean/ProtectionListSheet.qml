import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The Smart Clean protection list editor: one path or rule per line, shown while the controller
// asks for it. Escape and Cancel close it without saving.
Popup {
    id: root
    readonly property bool shown: AppModel.clean.showingProtectionSheet

    objectName: "protectionSheet"
    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(640, parent.width - 96)
    height: Math.min(540, parent.height - 96)
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    padding: 24

    onShownChanged: shown ? open() : close()
    Component.onCompleted: if (shown) open()
    onOpened: editor.forceActiveFocus()
    onClosed: if (shown) AppModel.clean.showingProtectionSheet = false

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

        RowLayout {
            spacing: Theme.spacing
            Glyph {
                source: "qrc:/icons/shield.svg"
                size: 22
            }
            Label {
                objectName: "protectionSheetTitle"
                Layout.fillWidth: true
                text: Theme.t("保护名单", "Protection List")
                color: Theme.textPrimary
                font.pixelSize: Theme.fontSection
                font.weight: Font.Bold
            }
        }
        BodyText {
            Layout.fillWidth: true
            text: Theme.t("每行一个路径或规则。保存后，这些位置在智能清理时会自动跳过。",
                          "Use one path or rule per line. After saving, these locations will be skipped during Smart Clean.")
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            radius: Theme.radiusControl
            color: Theme.editorFill
            border.color: editor.activeFocus ? Theme.focusRing : Theme.hairline
            border.width: editor.activeFocus ? 2 : 1

            ScrollView {
                anchors.fill: parent
                anchors.margins: 2
                clip: true
                TextArea {
                    id: editor
                    objectName: "protectionTextArea"
                    text: AppModel.clean.whitelistText
                    onTextChanged: if (text !== AppModel.clean.whitelistText) AppModel.clean.whitelistText = text
                    font.family: Theme.monoFamily
                    font.pixelSize: Theme.fontBody
                    color: Theme.textPrimary
                    selectByMouse: true
                    wrapMode: TextEdit.NoWrap
                    padding: 10
                    background: null
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 4
            spacing: Theme.spacingSmall
            KButton {
                objectName: "protectionRestoreButton"
                text: Theme.t("恢复默认", "Restore Defaults")
                onClicked: AppModel.clean.restoreWhitelistDefaults()
            }
            Item { Layout.fillWidth: true }
            KButton {
                objectName: "protectionCancelButton"
                text: Theme.t("取消", "Cancel")
                onClicked: AppModel.clean.showingProtectionSheet = false
            }
            KButton {
                objectName: "protectionSaveButton"
                primary: true
                text: Theme.t("保存", "Save")
                onClicked: AppModel.clean.saveWhitelistEditor() // a saved list closes the sheet
            }
        }
    }
}
