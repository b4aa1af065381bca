import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// A row that opens something: symbol, title, optional detail and a chevron.
AbstractButton {
    id: root
    property url symbol
    property string detail

    Accessible.name: text
    Accessible.description: detail

    Layout.fillWidth: true
    implicitHeight: Math.max(44, row.implicitHeight + 16)
    hoverEnabled: true
    leftPadding: 12
    rightPadding: 12

    background: Rectangle {
        radius: Theme.radiusControl + 2
        color: root.down ? Theme.controlFillPressed : root.hovered ? Theme.controlFillHovered : Theme.controlFill
        border.width: root.visualFocus ? 2 : 0
        border.color: Theme.focusRing
    }
    contentItem: RowLayout {
        id: row
        spacing: Theme.spacing
        Rectangle {
            implicitWidth: 28
            implicitHeight: 28
            radius: 7
            color: Theme.accentSoft
            Glyph {
                anchors.centerIn: parent
                source: root.symbol
                size: 17
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 1
            Label {
                Layout.fillWidth: true
                text: root.text
                color: Theme.textPrimary
                font.pixelSize: Theme.fontBody + 0.5
                font.weight: Font.Medium
                elide: Text.ElideRight
            }
            Label {
                Layout.fillWidth: true
                visible: root.detail.length > 0
                text: root.detail
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
                elide: Text.ElideRight
            }
        }
        Glyph {
            source: "qrc:/icons/chevron-right.svg"
            size: 14
        }
    }
}
