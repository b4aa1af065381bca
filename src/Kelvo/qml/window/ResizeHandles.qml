import QtQuick
import Kelvo 1.0

// Thin grips along the edges and corners of the frameless window that hand resizing to the
// window system.
Item {
    id: root
    property var window
    property int grip: 6

    visible: window && window.visibility !== Window.Maximized && window.visibility !== Window.FullScreen

    component Grip: MouseArea {
        property int edges
        hoverEnabled: true
        acceptedButtons: Qt.LeftButton
        onPressed: root.window.startSystemResize(edges)
    }

    Grip { edges: Qt.LeftEdge; cursorShape: Qt.SizeHorCursor
        x: 0; y: root.grip; width: root.grip; height: root.height - 2 * root.grip }
    Grip { edges: Qt.RightEdge; cursorShape: Qt.SizeHorCursor
        x: root.width - root.grip; y: root.grip; width: root.grip; height: root.height - 2 * root.grip }
    Grip { edges: Qt.TopEdge; cursorShape: Qt.SizeVerCursor
        x: root.grip; y: 0; width: root.width - 2 * root.grip; height: root.grip }
    Grip { edges: Qt.BottomEdge; cursorShape: Qt.SizeVerCursor
        x: root.grip; y: root.height - root.grip; width: root.width - 2 * root.grip; height: root.grip }
    Grip { edges: Qt.LeftEdge | Qt.TopEdge; cursorShape: Qt.SizeFDiagCursor
        x: 0; y: 0; width: root.grip * 2; height: root.grip * 2 }
    Grip { edges: Qt.RightEdge | Qt.TopEdge; cursorShape: Qt.SizeBDiagCursor
        x: root.width - root.grip * 2; y: 0; width: root.grip * 2; height: root.grip * 2 }
    Grip { edges: Qt.LeftEdge | Qt.BottomEdge; cursorShape: Qt.SizeBDiagCursor
        x: 0; y: root.height - root.grip * 2; width: root.grip * 2; height: root.grip * 2 }
    Grip { edges: Qt.RightEdge | Qt.BottomEdge; cursorShape: Qt.SizeFDiagCursor
        x: root.width - root.grip * 2; y: root.height - root.grip * 2; width: root.grip * 2; height: root.grip * 2 }
}
