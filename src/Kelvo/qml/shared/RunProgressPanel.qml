import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// What the page's run is doing, shown while its feature runs: a line naming the place it is at, the
// count so far, an activity bar and, while the run can still be stopped, a button that stops it.
GlassPanel {
    id: root
    property int feature: -1    // the running feature this panel follows (an AppFeature)
    property string placePrefix // put before the place the run is at
    property string waitingText // before any place is known
    property string countUnit: Theme.t(" 项", " items")
    property bool countsBytes: false

    readonly property var progress: AppModel.run.progress
    readonly property string title: progress.location ? placePrefix + progress.location + "…" : waitingText
    // A run that counts steps rather than items says where it is in its own words.
    readonly property string detail: progress.detail !== undefined
                                     ? progress.detail
                                     : progress.items !== undefined
                                       ? Theme.t("目前 ", "") + progress.items + countUnit
                                         + (countsBytes ? " · " + Theme.bytes(progress.bytes || 0) : "")
                                         + Theme.t("", " so far")
                                       : ""

    objectName: "runProgress"
    visible: AppModel.run.isRunning && AppModel.run.runningFeature === feature

    ColumnLayout {
        width: parent.width
        spacing: Theme.spacing

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 3
                Label {
                    objectName: "runProgressTitle"
                    Layout.fillWidth: true
                    text: root.title
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontBody
                    font.weight: Font.Medium
                    elide: Text.ElideMiddle
                }
                Label {
                    objectName: "runProgressDetail"
                    Layout.fillWidth: true
                    visible: text.length > 0
                    text: root.detail
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                    elide: Text.ElideRight
                }
            }
            KButton {
                objectName: "runCancelButton"
                visible: AppModel.run.canCancel
                text: Theme.t("取消", "Cancel")
                onClicked: AppModel.run.cancel()
            }
        }
        ActivityBar {
            objectName: "runActivityBar"
            Layout.fillWidth: true
        }
    }
}
