import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The machine's health at a glance: the score in a ring, its verdict and advice, the host and uptime.
// With the health aura on, the card glows in the verdict's colour; without a score there is no verdict
// to glow with, and the ring reads "—".
GlassPanel {
    id: root
    property var hero: ({})
    property var host: ({})
    signal refreshRequested()

    readonly property color tint: hero.level === StatusLevel.Good ? Theme.success
                                  : hero.level === StatusLevel.Fair ? Theme.warning
                                  : hero.level === StatusLevel.High ? Theme.danger : Theme.textTertiary

    Rectangle {
        objectName: "healthAura"
        visible: AppModel.appearance.showHealthAura && root.hero.level !== StatusLevel.Unchecked
                 && root.hero.level !== StatusLevel.Unknown
        anchors.fill: parent
        anchors.margins: -Theme.spacingLarge
        radius: Theme.radiusCard
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0; color: Theme.withAlpha(root.tint, Theme.auraStrength) }
            GradientStop { position: 0.6; color: Theme.withAlpha(root.tint, Theme.auraStrength / 5) }
            GradientStop { position: 1; color: "transparent" }
        }
    }

    // Two children (the aura and the row): the card takes its height from the row.
    implicitHeight: row.implicitHeight + topPadding + bottomPadding

    RowLayout {
        id: row
        anchors.left: parent.left
        anchors.right: parent.right
        spacing: Theme.spacingLarge

        Item {
            implicitWidth: 84
            implicitHeight: 84
            Canvas {
                id: ring
                anchors.fill: parent
                property real share: root.hero.score >= 0 ? root.hero.score / 100 : 0
                onShareChanged: requestPaint()
                // Drawn in the theme's colours: again when the scheme changes.
                property bool darkScheme: Theme.dark
                onDarkSchemeChanged: requestPaint()
                onAvailableChanged: requestPaint()
                onPaint: {
                    const context = getContext("2d")
                    context.reset()
                    const centre = width / 2, radius = width / 2 - 5
                    context.lineWidth = 8
                    context.lineCap = "round"
                    context.strokeStyle = Theme.controlFill
                    context.beginPath()
                    context.arc(centre, centre, radius, 0, 2 * Math.PI)
                    context.stroke()
                    if (share > 0) {
                        context.strokeStyle = root.tint
                        context.beginPath()
                        context.arc(centre, centre, radius, -Math.PI / 2, -Math.PI / 2 + share * 2 * Math.PI)
                        context.stroke()
                    }
                }
            }
            Label {
                objectName: "healthScore"
                anchors.centerIn: parent
                text: root.hero.score >= 0 ? root.hero.score : "—"
                color: Theme.textPrimary
                font.pixelSize: 26
                font.weight: Font.Bold
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 4
            Label {
                text: Theme.t("系统状态", "System Health")
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
                font.weight: Font.DemiBold
                font.capitalization: Font.AllUppercase
            }
            Label {
                objectName: "healthLabel"
                text: root.hero.label || ""
                color: root.tint
                font.pixelSize: Theme.fontSection + 3
                font.weight: Font.Bold
            }
            BodyText {
                objectName: "healthMessage"
                Layout.fillWidth: true
                text: root.hero.message || ""
            }
            Label {
                objectName: "hostLine"
                Layout.fillWidth: true
                text: (root.host.name || "") + "  ·  " + Theme.t("已运行 ", "Up ") + (root.host.uptime || "—")
                color: Theme.textTertiary
                font.pixelSize: Theme.fontCaption
                elide: Text.ElideRight
            }
        }
        KButton {
            objectName: "statusRefreshButton"
            Layout.alignment: Qt.AlignTop
            text: Theme.t("刷新", "Refresh")
            // A refresh during a live sample joins it, so only another run holds the button back.
            enabled: !AppModel.run.isRunning
            onClicked: root.refreshRequested()
        }
    }
}
