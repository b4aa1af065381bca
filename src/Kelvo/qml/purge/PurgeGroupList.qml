import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// The artefacts of a project scan under their ecosystem titles, each group with its count and total
// size, the largest group first. Rows ask for their actions through `actionsRequested`; their boxes
// choose them in the entries model. `filterText` narrows the rows to those whose name, path or detail
// holds it; a group left without rows is hidden.
ColumnLayout {
    id: root
    property ChoiceSectionModel groups: null
    property ChoiceListModel entries: null
    property string filterText
    signal actionsRequested(Item anchor, string name, string path)
    readonly property int shownCount: {
        let count = 0
        for (let i = 0; i < groupRepeater.count; ++i) {
            const group = groupRepeater.itemAt(i)
            count += group ? group.shownRows : 0
        }
        return count
    }
    // The keys of the rows the filter leaves, in every group.
    function shownKeys() {
        let keys = []
        for (let i = 0; i < groupRepeater.count; ++i)
            keys = keys.concat(groupRepeater.itemAt(i).shownKeys())
        return keys
    }

    spacing: Theme.spacingLarge

    Repeater {
        id: groupRepeater
        model: root.groups
        delegate: ColumnLayout {
            id: group
            required property string title
            required property int count
            required property real bytes
            required property var rows
            readonly property int shownRows: filtered.count
            function shownKeys() { return filtered.values("key") }

            RowFilter {
                id: filtered
                sourceModel: group.rows
                roles: ["name", "path", "detail"]
                text: root.filterText
            }

            objectName: "purgeGroup"
            Layout.fillWidth: true
            visible: filtered.count > 0
            spacing: 2

            SectionHeading {
                Layout.fillWidth: true
                Layout.leftMargin: 4
                Layout.rightMargin: 46
                Layout.bottomMargin: 2
                title: group.title
                count: group.count
                figure: Theme.bytes(group.bytes)
            }

            Repeater {
                model: filtered
                delegate: PurgeEntryRow {
                    id: entryRow
                    required property int index
                    required property string key
                    required property bool chosen
                    required name
                    required path
                    required detail
                    required sizeText
                    required hasProjectFile

                    Layout.fillWidth: true
                    first: index === 0
                    selected: chosen
                    onToggled: root.entries.setChosen([entryRow.key], !entryRow.chosen)
                    onActionsRequested: anchor => root.actionsRequested(anchor, entryRow.name, entryRow.path)
                }
            }
        }
    }
}
