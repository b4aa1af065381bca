import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The entries of a Smart Clean report under their section titles, in report order, each with its
// check box; a section's box chooses or leaves out all of its entries and shows a dash when only
// some are chosen. The choice is the entries model's. Tab and the arrow keys move between the boxes,
// Space toggles the focused one. `filterText` narrows the rows to those whose place, note or section
// holds it; a section left without rows is hidden.
ColumnLayout {
    id: root
    property ChoiceSectionModel sections: null
    property ChoiceListModel entries: null
    property string filterText
    // How many rows the filter leaves, over every section.
    readonly property int shownCount: {
        let count = 0
        for (let i = 0; i < sectionRepeater.count; ++i) {
            const section = sectionRepeater.itemAt(i)
            count += section ? section.shownRows : 0
        }
        return count
    }
    function isBox(item) {
        if (!item || (item.objectName !== "cleanEntrySelectBox" && item.objectName !== "cleanSectionSelectBox"))
            return false
        for (let parent = item.parent; parent; parent = parent.parent)
            if (parent === root)
                return true
        return false
    }
    // Moves the keyboard focus to the previous or next box of this list; false at either end, so
    // that the page scrolls instead.
    function moveFocus(forward) {
        const next = root.Window.activeFocusItem ? root.Window.activeFocusItem.nextItemInFocusChain(forward) : null
        if (!root.isBox(root.Window.activeFocusItem) || !root.isBox(next))
            return false
        next.forceActiveFocus(Qt.TabFocusReason)
        return true
    }

    spacing: Theme.spacing
    Keys.onUpPressed: event => event.accepted = root.moveFocus(false)
    Keys.onDownPressed: event => event.accepted = root.moveFocus(true)

    Repeater {
        id: sectionRepeater
        model: root.sections
        delegate: ColumnLayout {
            id: section
            required property int index
            required property string title
            required property int count
            required property int choosableCount
            required property int chosenCount
            required property var rows
            readonly property int shownRows: filtered.count

            RowFilter {
                id: filtered
                sourceModel: section.rows
                roles: ["path", "note", "section"]
                text: root.filterText
            }

            Layout.fillWidth: true
            visible: filtered.count > 0
            spacing: 2

            RowLayout {
                Layout.fillWidth: true
                Layout.leftMargin: 12
                Layout.bottomMargin: 2
                spacing: Theme.spacingSmall
                Item {
                    Layout.preferredWidth: 18
                    Layout.preferredHeight: 18
                    Layout.rightMargin: Theme.spacing - Theme.spacingSmall
                    SelectBox {
                        id: sectionBox
                        objectName: "cleanSectionSelectBox"
                        anchors.fill: parent
                        visible: section.choosableCount > 0
                        selected: section.chosenCount === section.choosableCount
                        partial: section.chosenCount > 0
                        Accessible.name: section.title
                        onClicked: root.sections.setChosen(section.index, section.chosenCount < section.choosableCount)
                    }
                }
                Label {
                    objectName: "cleanSectionTitle"
                    text: section.title
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontHeadline - 1
                    font.weight: Font.DemiBold
                }
                Label {
                    objectName: "cleanSectionCount"
                    text: section.count
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontCaption
                    font.weight: Font.DemiBold
                    leftPadding: 7
                    rightPadding: 7
                    topPadding: 1
                    bottomPadding: 1
                    background: Rectangle {
                        radius: height / 2
                        color: Theme.controlFill
                    }
                }
                Item { Layout.fillWidth: true }
            }

            Repeater {
                model: filtered
                delegate: CleanEntryRow {
                    id: entry
                    required property int index
                    required property string key
                    required path
                    required note
                    required status
                    required choosable
                    required chosen

                    Layout.fillWidth: true
                    first: index === 0
                    onToggled: root.entries.setChosen([entry.key], !entry.chosen)
                }
            }
        }
    }
}
