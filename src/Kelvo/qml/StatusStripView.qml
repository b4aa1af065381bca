import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The status line at the foot of the content area: what the controller is doing or last did.
GlassPanel {
    id: root
    objectName: "statusStrip"

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
            objectName: "statusTitle"
            text: AppModel.run.statusTitle
            color: Theme.textPrimary
            font.pixelSize: Theme.fontBody
            font.weight: Font.DemiBold
            elide: Text.ElideRight
            Layout.maximumWidth: root.width * 0.4
        }
        Label {
            objectName: "statusDetail"
            Layout.fillWidth: true
            text: AppModel.run.statusDetail
            color: Theme.textSecondary
            font.pixelSize: Theme.fontBody
            elide: Text.ElideRight
        }
    }
}
