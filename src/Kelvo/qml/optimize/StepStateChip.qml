import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// What a run does, or did, with one step as a coloured tag: blue for what will run, green for what
// completed, red for what failed, grey for what is skipped.
Label {
    id: root
    property int tone: OptimizeStepModel.Skip

    readonly property color toneText: tone === OptimizeStepModel.Run ? Theme.accentText
                                    : tone === OptimizeStepModel.Done ? Theme.successText
                                    : tone === OptimizeStepModel.Failed ? Theme.dangerText
                                    : Theme.textSecondary
    readonly property color toneFill: tone === OptimizeStepModel.Run ? Theme.accentSoft
                                    : tone === OptimizeStepModel.Done ? Theme.successSoft
                                    : tone === OptimizeStepModel.Failed ? Theme.dangerSoft
                                    : Theme.neutralSoft

    color: toneText
    leftPadding: 10
    rightPadding: 10
    topPadding: 3
    bottomPadding: 3
    font.pixelSize: Theme.fontSmall
    font.weight: Font.DemiBold
    background: Rectangle {
        radius: height / 2
        color: root.toneFill
    }
}
