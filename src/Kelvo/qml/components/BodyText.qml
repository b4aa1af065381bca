import QtQuick
import QtQuick.Controls

// Wrapped explanatory text in the secondary colour.
Label {
    wrapMode: Text.WordWrap
    color: Theme.textSecondary
    font.pixelSize: Theme.fontBody
    lineHeight: 1.15
}
