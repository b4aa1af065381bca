import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The folder a page works on, shown as a read-only field: a folder mark and the path, shortened in
// the middle when it does not fit.
Rectangle {
    id: root
    property string path
    property alias pathLabel: label

    implicitWidth: 260
    implicitHeight: 32
    radius: Theme.radiusControl
    color: Theme.fieldFill
    border.color: Theme.hairline

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 10
        spacing: 7
        Glyph {
            source: "qrc:/icons/folder.svg"
            size: 16
        }
        PathLabel {
            id: label
            objectName: "folderFieldPath"
            Layout.fillWidth: true
            text: root.path
        }
    }
}
