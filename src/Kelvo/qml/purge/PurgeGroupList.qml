import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// The artefacts of a project scan under their ecosystem titles, each group with its count and total
// size, the largest group first. Rows ask for their actions through `actionsRequested`; their boxes
// choose them in the entries model.
ColumnLayout {
    id: root
    property ChoiceSectionModel groups: null
    property ChoiceListModel entries: null
    signal actionsRequested(Item anchor, string name, string path)

    spacing: Theme.spacingLarge

    Repeater {
        model: root.groups
        delegate: ColumnLayout {
            id: group
            required property string title
            required property int count
            required property real bytes
            required property var rows

            objectName: "purgeGroup"
            Layout.fillWidth: true
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
                model: group.rows
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
