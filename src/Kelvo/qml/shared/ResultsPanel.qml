import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The panel that shows a tool page's stored report: a prompt before the first run, an empty state
// when the report holds nothing, else the summary lines over the page's own list. It takes the
// keyboard focus on a click or Tab, so that the page can scroll it with the keys. A filterable panel
// has a filter field beside its title (Ctrl+F on the page); `shownCount` is how many rows the filter
// leaves, so that a filter matching nothing says so.
GlassPanel {
    id: root
    property string title
    property bool hasReport: false
    property bool empty: false
    property string promptTitle
    property string promptDetail
    property string emptyTitle
    property string emptyDetail
    property string summary
    property string summaryDetail
    property bool filterable: false
    property int shownCount: -1
    readonly property alias filterText: filter.text
    readonly property alias filterField: filter
    default property alias content: list.data

    readonly property bool showsList: hasReport && !empty

    objectName: "resultsPanel"
    Accessible.role: Accessible.Grouping
    Accessible.name: title
    Accessible.description: showsList ? summary : hasReport ? emptyTitle : promptTitle
    focusPolicy: Qt.StrongFocus

    Item {
        width: parent.width
        implicitWidth: column.implicitWidth
        implicitHeight: column.implicitHeight

        ColumnLayout {
            id: column
            width: parent.width
            spacing: Theme.spacing

            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing
                Label {
                    objectName: "resultsTitle"
                    Layout.alignment: Qt.AlignTop
                    text: root.title
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontSection
                    font.weight: Font.Bold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                // The count sits beside the title, so the rows start higher.
                BodyText {
                    id: summaryLine
                    objectName: "resultsSummaryLine"
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignVCenter
                    visible: root.showsList && text.length > 0
                    text: root.summary
                    color: Theme.textSecondary
                }
                Item {
                    Layout.fillWidth: true
                    visible: !summaryLine.visible
                }
                FilterField {
                    id: filter
                    Layout.preferredWidth: 240
                    visible: root.filterable && root.showsList
                    onLeaveRequested: {
                        filter.focus = false // the panel is a focus scope: it would hand the focus back
                        root.forceActiveFocus()
                    }
                }
            }

            EmptyState {
                objectName: "resultsNotice"
                Layout.fillWidth: true
                Layout.topMargin: Theme.spacingSmall
                Layout.bottomMargin: Theme.spacingSmall
                visible: !root.showsList
                symbol: root.hasReport ? "qrc:/icons/check-circle.svg" : "qrc:/icons/sparkle.svg"
                title: root.hasReport ? root.emptyTitle : root.promptTitle
                detail: root.hasReport ? root.emptyDetail : root.promptDetail
            }

            ColumnLayout {
                Layout.fillWidth: true
                visible: root.showsList && root.summaryDetail.length > 0
                spacing: Theme.spacingSmall

                Label {
                    objectName: "resultsSummaryDetail"
                    Layout.fillWidth: true
                    visible: text.length > 0
                    text: root.summaryDetail
                    color: Theme.chipText
                    font.pixelSize: Theme.fontBody
                    font.weight: Font.Medium
                    wrapMode: Text.WordWrap
                    leftPadding: 12
                    rightPadding: 12
                    topPadding: 8
                    bottomPadding: 8
                    background: Rectangle {
                        radius: Theme.radiusControl
                        color: Theme.chipFill
                    }
                }
            }

            BodyText {
                objectName: "resultsFilterEmpty"
                Layout.fillWidth: true
                visible: root.showsList && filter.text.length > 0 && root.shownCount === 0
                text: Theme.t("没有与“" + filter.text + "”匹配的项目。按 Esc 清除筛选。",
                              "Nothing matches “" + filter.text + "”. Press Esc to clear the filter.")
            }

            ColumnLayout {
                id: list
                Layout.fillWidth: true
                Layout.topMargin: 4
                visible: root.showsList
                spacing: 0
            }
        }

        // The keyboard focus ring, drawn just inside the panel's edge.
        Rectangle {
            anchors.fill: parent
            anchors.margins: -root.padding + 2
            radius: root.radius - 2
            color: "transparent"
            border.width: 2
            border.color: Theme.focusRing
            visible: root.visualFocus
        }
    }
}
