import QtQuick
import Kelvo 1.0

// What the window shows behind its panels: the user's chosen image, or a calm gradient.
Item {
    id: root
    readonly property bool hasCustomImage: AppModel.appearance.customWindowBackgroundURL.toString().length > 0

    // The gradient is smooth, so a small rendering stretched to the window looks the same as a
    // full-size one and never has to be redrawn when the window is resized.
    Image {
        anchors.fill: parent
        visible: !root.hasCustomImage
        source: Theme.backdropImage
        sourceSize: Qt.size(600, 400)
        fillMode: Image.Stretch
        smooth: true
    }

    Image {
        objectName: "customBackgroundImage"
        anchors.fill: parent
        visible: root.hasCustomImage
        source: root.hasCustomImage
                ? AppModel.appearance.customWindowBackgroundURL + "?revision=" + AppModel.appearance.windowBackgroundRevision
                : ""
        fillMode: Image.PreserveAspectCrop
        cache: false
        smooth: true
    }
    // A veil in the scheme's tone keeps text on the glass panels readable over busy images.
    Rectangle {
        anchors.fill: parent
        visible: root.hasCustomImage
        color: Theme.imageVeil
    }
}
