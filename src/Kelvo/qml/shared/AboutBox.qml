import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// What a page checks: a title, an optional lead-in line, a few tags and a few promises. Open on the
// page's first visit; after that it is folded to one line (its title and tags) unless the user opens
// it again, so that the results start higher. Its title line opens and folds it.
GlassPanel {
    id: root
    property int feature: -1
    property string title
    property string caption
    property var tags: []
    property var promises: []
    property bool folded: false

    objectName: "aboutBox"
    topPadding: folded ? Theme.spacing : Theme.spacingLarge
    bottomPadding: folded ? Theme.spacing : Theme.spacingLarge
    Component.onCompleted: folded = AppModel.visitAboutBox(feature)

    ColumnLayout {
        width: parent.width
        spacing: Theme.spacing

        AbstractButton {
            id: fold
            objectName: "aboutFoldButton"
            Layout.fillWidth: true
            hoverEnabled: true
            Accessible.name: root.title
            Accessible.description: root.folded ? Theme.t("展开说明", "Show details") : Theme.t("收起说明", "Hide details")
            onClicked: {
                root.folded = !root.folded
                AppModel.setAboutBoxFolded(root.feature, root.folded)
            }
            background: Rectangle {
                anchors.fill: parent
                anchors.margins: -4
                radius: Theme.radiusSmall
                color: "transparent"
                border.width: fold.visualFocus ? 2 : 0
                border.color: Theme.accent
            }
            contentItem: RowLayout {
                spacing: Theme.spacingSmall
                Glyph {
                    source: "qrc:/icons/info.svg"
                    size: 18
                }
                Label {
                    objectName: "aboutTitle"
                    text: root.title
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontHeadline
                    font.weight: Font.DemiBold
                }
                Label {
                    objectName: "aboutFoldedTags"
                    Layout.fillWidth: true
                    visible: root.folded
                    text: root.tags.join("  ·  ")
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontBody
                    elide: Text.ElideRight
                }
                Item {
                    Layout.fillWidth: true
                    visible: !root.folded
                }
                Glyph {
                    source: "qrc:/icons/chevron-right.svg"
                    size: 14
                    rotation: root.folded ? 90 : -90
                    opacity: fold.hovered || fold.visualFocus ? 1 : 0.6
                }
            }
        }

        BodyText {
            objectName: "aboutCaption"
            Layout.fillWidth: true
            visible: !root.folded && root.caption.length > 0
            text: root.caption
        }

        Flow {
            Layout.fillWidth: true
            visible: !root.folded && root.tags.length > 0
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
            visible: !root.folded && root.promises.length > 0
        }

        Flow {
            Layout.fillWidth: true
            visible: !root.folded && root.promises.length > 0
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
