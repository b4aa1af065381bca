import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The Smart Clean protection list editor, shown while the controller asks for it: one row per path
// or rule, each marked when it can never protect anything, with ways to add a folder or type a rule;
// or the same list as plain text, one entry per line, one click away. Both edit the controller's
// text, so switching loses nothing. Escape and Cancel close it without saving.
Popup {
    id: root
    readonly property bool shown: AppModel.clean.showingProtectionSheet
    readonly property var entries: AppModel.clean.protectionEntries
    property bool editingText: false

    // The remove button of that row, or of the last when the list is shorter; the rule field when
    // the list is empty.
    function focusRow(row) {
        if (rows.count === 0) {
            ruleField.forceActiveFocus()
            return
        }
        const at = Math.min(row, rows.count - 1)
        rows.positionViewAtIndex(at, ListView.Contain)
        const shownRow = rows.itemAtIndex(at)
        if (shownRow)
            shownRow.removeButton.forceActiveFocus()
    }
    function addFolder(url) {
        if (entries.addFolder(url))
            rows.positionViewAtEnd()
    }
    function addRule() {
        if (entries.add(ruleField.text)) {
            ruleField.clear()
            rows.positionViewAtEnd()
        }
        ruleField.forceActiveFocus()
    }

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
    onOpened: {
        editingText = false
        ruleField.forceActiveFocus()
    }
    onClosed: if (shown) AppModel.clean.showingProtectionSheet = false
    onEditingTextChanged: editingText ? editor.forceActiveFocus() : ruleField.forceActiveFocus()

    Overlay.modal: Rectangle { color: Theme.scrim }

    FolderChooser {
        id: folderChooser
        objectName: "protectionFolderChooser"
        title: Theme.t("选择要保护的文件夹。", "Choose a folder to protect.")
        folderPath: root.entries.home
        onAccepted: root.addFolder(selectedFolder)
    }

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
            KButton {
                objectName: "protectionTextToggle"
                text: root.editingText ? Theme.t("以列表编辑", "Edit as List") : Theme.t("以文本编辑", "Edit as Text")
                Accessible.name: text
                onClicked: root.editingText = !root.editingText
            }
        }
        BodyText {
            Layout.fillWidth: true
            text: root.editingText
                  ? Theme.t("每行一个路径或规则。保存后，这些位置在智能清理时会自动跳过。",
                            "Use one path or rule per line. After saving, these locations will be skipped during Smart Clean.")
                  : Theme.t("保存后，这些位置在智能清理时会自动跳过。规则中的 * 代表任意字符。",
                            "After saving, these locations will be skipped during Smart Clean. A * in a rule stands for any characters.")
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            radius: Theme.radiusControl
            color: Theme.editorFill
            border.color: editor.activeFocus ? Theme.focusRing : Theme.hairline
            border.width: editor.activeFocus ? 2 : 1

            ListView {
                id: rows
                objectName: "protectionRows"
                anchors.fill: parent
                anchors.margins: 2
                visible: !root.editingText
                clip: true
                model: root.entries
                boundsBehavior: Flickable.StopAtBounds
                keyNavigationEnabled: false
                Accessible.role: Accessible.List
                Accessible.name: Theme.t("保护名单", "Protection List")
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

                delegate: EntryRow {
                    id: row
                    required property var model
                    required property int index

                    objectName: "protectionRow"
                    width: ListView.view.width
                    entry: model.entry
                    problem: model.problem
                    first: index === 0
                    onRemoveClicked: {
                        const refocus = removeButton.activeFocus
                        const at = index
                        root.entries.remove(at)
                        if (refocus)
                            Qt.callLater(root.focusRow, at)
                    }
                    // The list keeps the row whose button has the focus in view.
                    Connections {
                        target: row.removeButton
                        function onActiveFocusChanged() {
                            if (row.removeButton.activeFocus)
                                rows.positionViewAtIndex(row.index, ListView.Contain)
                        }
                    }
                }
            }
            EmptyState {
                objectName: "protectionEmpty"
                anchors.centerIn: parent
                width: parent.width - 48
                visible: !root.editingText && rows.count === 0
                symbol: "qrc:/icons/shield.svg"
                title: Theme.t("还没有受保护的位置。", "No protected locations yet.")
                detail: Theme.t("添加一个文件夹或一条规则。", "Add a folder or a rule.")
            }

            ScrollView {
                anchors.fill: parent
                anchors.margins: 2
                visible: root.editingText
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
                    Accessible.name: Theme.t("保护名单文本", "Protection list text")
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            visible: !root.editingText
            spacing: Theme.spacingSmall
            TextField {
                id: ruleField
                objectName: "protectionRuleField"
                Layout.fillWidth: true
                implicitHeight: 32
                leftPadding: 10
                font.family: Theme.monoFamily
                font.pixelSize: Theme.fontBody
                color: Theme.textPrimary
                placeholderText: Theme.t("输入路径或规则，如 ~/Projects/keep", "Type a path or rule, like ~/Projects/keep")
                placeholderTextColor: Theme.textTertiary
                selectByMouse: true
                Accessible.name: Theme.t("要添加的规则", "Rule to add")
                background: Rectangle {
                    radius: Theme.radiusControl
                    color: Theme.panelFill
                    border.width: ruleField.activeFocus ? 2 : 1
                    border.color: ruleField.activeFocus ? Theme.accent : Theme.hairline
                }
                onAccepted: root.addRule()
            }
            KButton {
                objectName: "protectionAddRuleButton"
                text: Theme.t("添加规则", "Add Rule")
                Accessible.name: text
                onClicked: root.addRule()
            }
            KButton {
                objectName: "protectionAddFolderButton"
                text: Theme.t("添加文件夹…", "Add Folder…")
                Accessible.name: text
                onClicked: folderChooser.open()
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
