import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// A few small buttons of which one is chosen, as "Size · Name · Items · Modified": `options` is a list
// of {text, value}; choosing one reports `chosen(value)` and the owner feeds the value back.
Row {
    id: root
    property var options: []
    property var value
    signal chosen(var value)

    spacing: 4

    Repeater {
        model: root.options
        delegate: KButton {
            required property var modelData
            objectName: "option_" + modelData.value
            implicitHeight: 24
            leftPadding: 10
            rightPadding: 10
            font.pixelSize: Theme.fontCaption
            primary: modelData.value === root.value
            enabled: !AppModel.run.isRunning
            text: modelData.text
            Accessible.role: Accessible.RadioButton
            Accessible.checked: primary
            onClicked: root.chosen(modelData.value)
        }
    }
}
