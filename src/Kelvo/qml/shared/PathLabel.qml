import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A path on one line. When it does not fit it is shortened in the middle, so that both the start
// and the name at the end stay readable, and the whole path shows in a tooltip on hover.
Label {
    id: root

    elide: Text.ElideMiddle
    color: Theme.textPrimary
    font.pixelSize: Theme.fontBody

    HoverHandler {
        id: hover
    }
    ToolTip {
        id: tip
        objectName: "pathToolTip"
        text: root.text
        visible: hover.hovered && root.truncated
        delay: 500
        // As wide as the path needs, and no wider than the window.
        width: root.Window.width > 0 ? Math.min(implicitWidth, root.Window.width - 32) : implicitWidth
        leftPadding: 10
        rightPadding: 10
        topPadding: 6
        bottomPadding: 6
        contentItem: Label {
            text: tip.text
            color: Theme.tooltipText
            font.pixelSize: Theme.fontSmall
            wrapMode: Text.WrapAnywhere
        }
        background: Rectangle {
            radius: Theme.radiusSmall
            color: Theme.tooltipFill
        }
    }
}
