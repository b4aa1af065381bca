import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A small rounded tag.
Label {
    id: root
    leftPadding: 10
    rightPadding: 10
    topPadding: 4
    bottomPadding: 4
    color: Theme.chipText
    font.pixelSize: Theme.fontSmall
    font.weight: Font.Medium
    background: Rectangle {
        radius: height / 2
        color: Theme.chipFill
    }
}
