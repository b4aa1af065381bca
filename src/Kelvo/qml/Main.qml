import QtQuick
import QtQuick.Controls
import QtQuick.Window
import Kelvo 1.0

// The one window: frameless with its own title-bar area, window buttons and resize grips.
ApplicationWindow {
    id: window
    objectName: "mainWindow"

    width: 1180
    height: 780
    minimumWidth: 980
    minimumHeight: 720
    visible: true
    title: "Kelvo"
    flags: Qt.Window | Qt.FramelessWindowHint
    color: Theme.backdropTop
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
    ResizeHandles {
        anchors.fill: parent
        window: window
    }
}
