import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A row of mutually exclusive choices. `options` is a list of { value, label }; `value` is the
// chosen one and `activated(value)` reports the user's pick. Each segment is named `segmentPrefix`
// followed by its value.
Rectangle {
    id: root
    property var options: []
    property string value
    property string segmentPrefix: "segment_"
    signal activated(string value)

    implicitWidth: row.implicitWidth + 4
    implicitHeight: 30
    radius: Theme.radiusControl
    color: Theme.controlFill

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 2
        Repeater {
            model: root.options
            delegate: AbstractButton {
                id: segment
                required property var modelData
                readonly property bool chosen: root.value === modelData.value
                objectName: root.segmentPrefix + modelData.value
                height: 26
                leftPadding: 16
                rightPadding: 16
                hoverEnabled: true
                text: modelData.label
                font.pixelSize: Theme.fontBody
                font.weight: chosen ? Font.DemiBold : Font.Normal
                onClicked: root.activated(modelData.value)
                Accessible.role: Accessible.RadioButton
                Accessible.name: text
                Accessible.checkable: true
                Accessible.checked: chosen
                contentItem: Label {
                    text: segment.text
                    font: segment.font
                    color: Theme.textPrimary
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    radius: Theme.radiusControl - 2
                    color: segment.chosen ? Theme.segmentChosenFill : segment.hovered ? Theme.segmentHoverFill : "transparent"
                    border.color: segment.chosen ? Theme.hairline : "transparent"
                    border.width: segment.visualFocus ? 2 : 1
                }
            }
        }
    }
}
