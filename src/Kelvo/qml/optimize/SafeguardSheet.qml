import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The optimisation safeguard editor: one check box per step, ticked for the steps a run skips, then
// the list's lines that name no step, each removable, shown while the controller asks for it. Escape
// and Cancel close it without saving.
Popup {
    id: root
    readonly property bool shown: AppModel.optimize.showingProtectionSheet

    objectName: "safeguardSheet"
    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(640, parent.width - 96)
    height: Math.min(600, parent.height - 96)
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    padding: 24

    onShownChanged: shown ? open() : close()
    Component.onCompleted: if (shown) open()
    onOpened: options.forceActiveFocus()
    onClosed: if (shown) AppModel.optimize.showingProtectionSheet = false

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
        spacing: Theme.spacing

        RowLayout {
            spacing: Theme.spacing
            Glyph {
                source: "qrc:/icons/shield.svg"
                size: 22
            }
            Label {
                objectName: "safeguardSheetTitle"
                Layout.fillWidth: true
                text: Theme.t("优化保护项", "Optimization Safeguards")
                color: Theme.textPrimary
                font.pixelSize: Theme.fontSection
                font.weight: Font.Bold
            }
        }
        BodyText {
            Layout.fillWidth: true
            text: Theme.t("勾选后，优化执行时会跳过对应步骤。此名单仅用于优化，与清理保护名单无关。",
                          "Checked items will be skipped during optimization. This list applies to optimization only and is separate from the cleanup protection list.")
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            radius: Theme.radiusControl
            color: Theme.editorFill
            border.color: Theme.hairline

            ListView {
                id: options
                objectName: "safeguardOptions"
                anchors.fill: parent
                anchors.margins: 2
                clip: true
                model: AppModel.optimize.safeguardOptions
                boundsBehavior: Flickable.StopAtBounds
                keyNavigationEnabled: false
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

                // The lines of the list that name no step: kept as they are, each removable.
                footer: ColumnLayout {
                    width: ListView.view.width
                    height: visible ? implicitHeight : 0
                    spacing: 0
                    visible: AppModel.optimize.customKeys.length > 0
                    SectionHeading {
                        Layout.fillWidth: true
                        Layout.leftMargin: 12
                        Layout.topMargin: 10
                        Layout.bottomMargin: 2
                        title: Theme.t("其他行", "Other Lines")
                        count: AppModel.optimize.customKeys.length
                    }
                    Repeater {
                        model: AppModel.optimize.customKeys
                        delegate: EntryRow {
                            required property string modelData
                            required property int index

                            objectName: "safeguardCustomRow"
                            Layout.fillWidth: true
                            entry: modelData
                            problem: Theme.t("不是 Kelvo 认识的步骤：会保留，但不起作用。",
                                             "Not a step Kelvo knows: kept, has no effect.")
                            onRemoveClicked: AppModel.optimize.removeCustomKey(index)
                        }
                    }
                    Item { Layout.preferredHeight: 4 }
                }

                delegate: AbstractButton {
                    id: option
                    required property var model
                    required property int index
                    readonly property bool safeguarded: model.safeguarded

                    objectName: "safeguardOption"
                    width: ListView.view.width
                    implicitHeight: optionRow.implicitHeight + 16
                    hoverEnabled: true
                    focusPolicy: Qt.NoFocus
                    onClicked: AppModel.optimize.setSafeguarded(model.id, !safeguarded)

                    background: ListRowBackground {
                        first: option.index === 0
                        hovered: option.hovered
                    }
                    contentItem: RowLayout {
                        id: optionRow
                        spacing: Theme.spacing
                        SelectBox {
                            objectName: "safeguardBox"
                            Layout.leftMargin: 10
                            selected: option.safeguarded
                            onClicked: option.clicked()
                            // Tab moves through the boxes; the list keeps the one with the focus in view.
                            onActiveFocusChanged: if (activeFocus) options.positionViewAtIndex(option.index, ListView.Contain)
                        }
                        ColumnLayout {
                            Layout.fillWidth: true
                            Layout.rightMargin: 10
                            spacing: 1
                            Label {
                                objectName: "safeguardTitle"
                                Layout.fillWidth: true
                                text: option.model.title
                                color: Theme.textPrimary
                                font.pixelSize: Theme.fontBody
                                font.weight: Font.Medium
                                wrapMode: Text.WordWrap
                            }
                            Label {
                                objectName: "safeguardDetail"
                                Layout.fillWidth: true
                                text: option.model.detail
                                color: Theme.textSecondary
                                font.pixelSize: Theme.fontSmall
                                wrapMode: Text.WordWrap
                            }
                        }
                    }
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 4
            spacing: Theme.spacingSmall
            KButton {
                objectName: "safeguardRestoreButton"
                text: Theme.t("恢复默认", "Restore Defaults")
                onClicked: AppModel.optimize.restoreWhitelistDefaults()
            }
            Item { Layout.fillWidth: true }
            KButton {
                objectName: "safeguardCancelButton"
                text: Theme.t("取消", "Cancel")
                onClicked: AppModel.optimize.showingProtectionSheet = false
            }
            KButton {
                objectName: "safeguardSaveButton"
                primary: true
                text: Theme.t("保存", "Save")
                onClicked: AppModel.optimize.saveWhitelistEditor() // a saved list closes the sheet
            }
        }
    }
}
