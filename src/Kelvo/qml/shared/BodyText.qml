import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// Wrapped explanatory text in the secondary colour.
Label {
    wrapMode: Text.WordWrap
    color: Theme.textSecondary
    font.pixelSize: Theme.fontBody
    lineHeight: 1.15
}
