import QtQuick
import Kelvo 1.0

// A line symbol from the application's icon set, drawn sharp at any size. The symbols carry their
// own colours, so they need no shader effect and draw the same with every scene graph backend.
Item {
    id: root
    property url source
    property int size: 18

    implicitWidth: size
    implicitHeight: size

    Image {
        anchors.fill: parent
        source: root.source
        sourceSize: Qt.size(root.size * 2, root.size * 2)
        fillMode: Image.PreserveAspectFit
        smooth: true
    }
}
