import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// What a run does, or did, with one step as a coloured tag: blue for what will run, green for what
// completed, red for what failed, grey for what is skipped.
Label {
    id: root
    property int tone: OptimizeStepModel.Skip

    readonly property color toneColor: tone === OptimizeStepModel.Run ? Theme.accent
                                     : tone === OptimizeStepModel.Done ? Theme.success
                                     : tone === OptimizeStepModel.Failed ? Theme.danger
                                     : Theme.textTertiary

    color: Qt.darker(toneColor, 1.45)
    leftPadding: 10
    rightPadding: 10
    topPadding: 3
    bottomPadding: 3
    font.pixelSize: Theme.fontSmall
    font.weight: Font.DemiBold
    background: Rectangle {
        radius: height / 2
        color: root.toneColor
        opacity: 0.15
    }
}
