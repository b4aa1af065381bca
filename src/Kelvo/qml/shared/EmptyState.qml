import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// A calm message in place of a list: a symbol, a title and a line of detail, centred.
ColumnLayout {
    id: root
    property string title
    property string detail
    property url symbol: "qrc:/icons/sparkle.svg"

    spacing: 6

    Rectangle {
        Layout.alignment: Qt.AlignHCenter
        Layout.bottomMargin: 4
        implicitWidth: 44
        implicitHeight: 44
        radius: 22
        color: Theme.accentSoft
        Glyph {
            anchors.centerIn: parent
            source: root.symbol
            size: 22
        }
    }
    Label {
        objectName: "noticeTitle"
        Layout.fillWidth: true
        text: root.title
        color: Theme.textPrimary
        font.pixelSize: Theme.fontHeadline
        font.weight: Font.DemiBold
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
    }
    BodyText {
        objectName: "noticeDetail"
        Layout.fillWidth: true
        visible: text.length > 0
        text: root.detail
        horizontalAlignment: Text.AlignHCenter
    }
}
