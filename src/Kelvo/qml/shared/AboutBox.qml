import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// What a page checks: a title, an optional lead-in line, a few tags and a few promises.
GlassPanel {
    id: root
    property string title
    property string caption
    property var tags: []
    property var promises: []

    ColumnLayout {
        width: parent.width
        spacing: Theme.spacing

        RowLayout {
            spacing: Theme.spacingSmall
            Glyph {
                source: "qrc:/icons/info.svg"
                size: 18
            }
            Label {
                objectName: "aboutTitle"
                Layout.fillWidth: true
                text: root.title
                color: Theme.textPrimary
                font.pixelSize: Theme.fontHeadline
                font.weight: Font.DemiBold
                elide: Text.ElideRight
            }
        }

        BodyText {
            objectName: "aboutCaption"
            Layout.fillWidth: true
            visible: root.caption.length > 0
            text: root.caption
        }

        Flow {
            Layout.fillWidth: true
            visible: root.tags.length > 0
            spacing: Theme.spacingSmall
            Repeater {
                model: root.tags
                delegate: Chip {
                    required property string modelData
                    text: modelData
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.topMargin: 2
            Layout.bottomMargin: 2
            implicitHeight: 1
            color: Theme.hairline
            visible: root.promises.length > 0
        }

        Flow {
            Layout.fillWidth: true
            visible: root.promises.length > 0
            spacing: Theme.spacingLarge
            Repeater {
                model: root.promises
                delegate: Row {
                    required property string modelData
                    spacing: 6
                    Glyph {
                        anchors.verticalCenter: parent.verticalCenter
                        source: "qrc:/icons/check-circle.svg"
                        size: 16
                    }
                    Label {
                        anchors.verticalCenter: parent.verticalCenter
                        text: modelData
                        color: Theme.textPrimary
                        font.pixelSize: Theme.fontBody
                    }
                }
            }
        }
    }
}
