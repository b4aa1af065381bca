import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The status line at the foot of the content area: what the controller is doing or last did on this
// page. What another page's work said is not shown here; while that work runs, the line names its page.
GlassPanel {
    id: root
    readonly property int page: AppModel.run.statusFeature
    readonly property bool ownPage: page < 0 || page === AppModel.selectedFeature
    readonly property bool otherPageRunning: !ownPage && AppModel.run.isRunning

    objectName: "statusStrip"
    Accessible.role: Accessible.StatusBar
    Accessible.name: statusTitle.text
    Accessible.description: statusDetail.text

    padding: 0
    leftPadding: Theme.spacingLarge - 4
    rightPadding: Theme.spacingLarge
    radius: Theme.radiusCard - 2
    implicitHeight: Theme.statusStripHeight

    RowLayout {
        anchors.fill: parent
        spacing: Theme.spacing

        Item {
            implicitWidth: 22
            implicitHeight: 22
            BusyIndicator {
                objectName: "statusBusyIndicator"
                anchors.fill: parent
                running: AppModel.run.isRunning
                visible: AppModel.run.isRunning
                padding: 0
            }
            Rectangle {
                anchors.centerIn: parent
                visible: !AppModel.run.isRunning
                width: 8
                height: 8
                radius: 4
                color: Theme.success
            }
        }
        Label {
            id: statusTitle
            objectName: "statusTitle"
            text: root.ownPage ? AppModel.run.statusTitle
                               : root.otherPageRunning ? Theme.featureName(root.page) : Theme.t("就绪", "Ready")
            color: Theme.textPrimary
            font.pixelSize: Theme.fontBody
            font.weight: Font.DemiBold
            elide: Text.ElideRight
            Layout.maximumWidth: root.width * 0.4
        }
        Label {
            id: statusDetail
            objectName: "statusDetail"
            Layout.fillWidth: true
            text: root.ownPage ? AppModel.run.statusDetail : root.otherPageRunning ? AppModel.run.statusTitle : ""
            color: Theme.textSecondary
            font.pixelSize: Theme.fontBody
            elide: Text.ElideRight
        }
    }
}
