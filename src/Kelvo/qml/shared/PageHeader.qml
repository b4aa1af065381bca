import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// A page's title and its one-sentence subtitle.
ColumnLayout {
    id: root
    property string title
    property string subtitle

    spacing: 6

    Label {
        objectName: "pageTitle"
        Layout.fillWidth: true
        text: root.title
        color: Theme.textPrimary
        font.pixelSize: Theme.fontTitle
        font.weight: Font.Bold
        elide: Text.ElideRight
    }
    BodyText {
        objectName: "pageSubtitle"
        Layout.fillWidth: true
        visible: root.subtitle.length > 0
        text: root.subtitle
        font.pixelSize: Theme.fontHeadline - 1
    }
}
