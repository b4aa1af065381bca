import QtQuick
import Qt5Compat.GraphicalEffects
import Kelvo 1.0

// What the window shows behind its panels: the user's chosen image, or a calm gradient.
Item {
    id: root
    readonly property bool hasCustomImage: AppModel.customWindowBackgroundURL.toString().length > 0

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.backdropTop }
            GradientStop { position: 1; color: Theme.backdropBottom }
        }
    }
    RadialGradient {
        anchors.fill: parent
        visible: !root.hasCustomImage
        horizontalOffset: -root.width * 0.32
        verticalOffset: -root.height * 0.38
        horizontalRadius: root.width * 0.7
        verticalRadius: root.height * 0.8
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.backdropGlowA }
            GradientStop { position: 1; color: "transparent" }
        }
    }
    RadialGradient {
        anchors.fill: parent
        visible: !root.hasCustomImage
        horizontalOffset: root.width * 0.36
        verticalOffset: root.height * 0.34
        horizontalRadius: root.width * 0.65
        verticalRadius: root.height * 0.75
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.backdropGlowB }
            GradientStop { position: 1; color: "transparent" }
        }
    }
    RadialGradient {
        anchors.fill: parent
        visible: !root.hasCustomImage
        horizontalOffset: root.width * 0.42
        verticalOffset: -root.height * 0.42
        horizontalRadius: root.width * 0.45
        verticalRadius: root.height * 0.55
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.backdropGlowC }
            GradientStop { position: 1; color: "transparent" }
        }
    }

    Image {
        objectName: "customBackgroundImage"
        anchors.fill: parent
        visible: root.hasCustomImage
        source: root.hasCustomImage
                ? AppModel.customWindowBackgroundURL + "?revision=" + AppModel.windowBackgroundRevision
                : ""
        fillMode: Image.PreserveAspectCrop
        cache: false
        smooth: true
    }
    // A light veil keeps text on the glass panels readable over busy images.
    Rectangle {
        anchors.fill: parent
        visible: root.hasCustomImage
        color: Qt.rgba(1, 1, 1, 0.12)
    }
}
