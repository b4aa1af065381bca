import QtQuick
import QtQuick.Controls
import QtQuick.Window
import Kelvo 1.0

// The one window. On macOS it is frameless with its own title-bar area, window buttons and resize
// grips, as Mac applications with a sidebar look; on Linux the desktop draws the title bar, its
// buttons and the resizing borders, so the window looks and behaves as every other one there (a
// drawn title bar would ignore the desktop's theme, button layout and tiling).
ApplicationWindow {
    id: window
    objectName: "mainWindow"

    width: 1180
    height: 780
    minimumWidth: 980
    minimumHeight: 720
    visible: true
    title: "Kelvo"
    flags: Theme.macOS ? Qt.Window | Qt.FramelessWindowHint : Qt.Window
    color: Theme.backdropTop
    // The Controls the views use unstyled (tooltips, scroll bars, menus, text fields) take their
    // colours from here.
    palette.window: Theme.sheetFill
    palette.windowText: Theme.textPrimary
    palette.base: Theme.editorFill
    palette.alternateBase: Theme.sheetFill
    palette.text: Theme.textPrimary
    palette.button: Theme.sheetFill
    palette.buttonText: Theme.textPrimary
    palette.brightText: Theme.textOnAccent
    palette.highlight: Theme.accent
    palette.highlightedText: Theme.textOnAccent
    palette.toolTipBase: Theme.tooltipFill
    palette.toolTipText: Theme.tooltipText
    palette.placeholderText: Theme.textTertiary
    palette.light: Theme.sheetFill
    palette.midlight: Theme.controlFill
    palette.mid: Theme.scrollHandle
    palette.dark: Theme.scrollHandlePressed
    palette.shadow: Theme.shadow
    palette.link: Theme.accentText
    font.family: Theme.fontFamily
    font.pixelSize: Theme.fontBody

    Component.onCompleted: {
        x = Screen.virtualX + Math.max(0, (Screen.width - width) / 2)
        y = Screen.virtualY + Math.max(0, (Screen.height - height) / 2)
    }

    WindowBackground {
        id: backdrop
        anchors.fill: parent
    }
    ContentView {
        anchors.fill: parent
        window: window
        backdrop: backdrop
    }
    Loader {
        anchors.fill: parent
        active: Theme.macOS
        sourceComponent: ResizeHandles {
            window: window
        }
    }
}
