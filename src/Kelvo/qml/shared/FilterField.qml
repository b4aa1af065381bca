import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// The field that narrows a result list as the user types. Escape clears it, and a second Escape (or
// one on an empty field) hands the keyboard back to the list (`leaveRequested`).
TextField {
    id: root
    signal leaveRequested()

    objectName: "filterField"
    implicitHeight: 30
    leftPadding: 10
    rightPadding: 10
    font.pixelSize: Theme.fontBody
    color: Theme.textPrimary
    placeholderText: Theme.t("筛选", "Filter") + " (" + findShortcut.nativeText + ")"
    placeholderTextColor: Theme.textSecondary
    selectByMouse: true
    Accessible.name: Theme.t("筛选列表", "Filter the list")
    Accessible.role: Accessible.EditableText
    Accessible.searchEdit: true

    // Keys that edit the text stay in the field: the page's Delete and Backspace shortcuts wait.
    Keys.onShortcutOverride: event => event.accepted = event.key === Qt.Key_Delete || event.key === Qt.Key_Backspace
    Keys.onEscapePressed: {
        if (text.length > 0)
            clear()
        else
            root.leaveRequested()
    }

    // Names the keys only; the page's own shortcut moves the focus here.
    Shortcut {
        id: findShortcut
        sequence: StandardKey.Find
        enabled: false
    }

    background: Rectangle {
        radius: Theme.radiusControl
        color: Theme.controlFill
        border.width: root.activeFocus ? 2 : 0
        border.color: Theme.accent
    }
}
