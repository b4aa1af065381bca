import QtQuick
import Kelvo 1.0

// The hidden title bar: dragging moves the window, a double click zooms it.
MouseArea {
    id: root
    property var window

    acceptedButtons: Qt.LeftButton
    onPressed: root.window.startSystemMove()
    onDoubleClicked: {
        if (root.window.visibility === Window.Maximized)
            root.window.showNormal()
        else
            root.window.showMaximized()
    }
}
