import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// The artefacts of a project scan under their ecosystem titles, each group with its count and total
// size, in report order. Rows ask for their actions through `actionsRequested` and are chosen through
// `selection`; the rows of `trashedPaths` are marked as moved to the Trash.
ColumnLayout {
    id: root
    property var groups: []
    property var trashedPaths: []
    property KeySet selection: KeySet {}
    signal actionsRequested(Item anchor, string name, string path)

    spacing: Theme.spacingLarge

    Repeater {
        model: root.groups
        delegate: ColumnLayout {
            id: group
            required property var modelData

            objectName: "purgeGroup"
            Layout.fillWidth: true
            spacing: 2

            SectionHeading {
                Layout.fillWidth: true
                Layout.leftMargin: 4
                Layout.rightMargin: 46
                Layout.bottomMargin: 2
                title: group.modelData.title
                count: group.modelData.entries.length
                figure: Theme.bytes(group.modelData.totalBytes)
            }

            Repeater {
                model: group.modelData.entries
                delegate: PurgeEntryRow {
                    id: entryRow
                    required property var modelData
                    required property int index

                    Layout.fillWidth: true
                    first: index === 0
                    name: modelData.name || ""
                    path: modelData.path || ""
                    detail: modelData.detailText || ""
                    byteCount: modelData.byteCount || 0
                    trashed: root.trashedPaths.indexOf(entryRow.path) >= 0
                    hasProjectFile: (modelData.projectFile || "").length > 0
                    selected: root.selection.has(entryRow.path)
                    onToggled: root.selection.toggle(entryRow.path)
                    onActionsRequested: anchor => root.actionsRequested(anchor, entryRow.name, entryRow.path)
                }
            }
        }
    }
}
