import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// The installer table's filters: all installers or those of one source (the report's sources, in
// order), and whether the rows are sorted by size. An empty `source` stands for all of them.
RowLayout {
    id: root
    property var sources: []
    property string source
    property bool sortBySize: true
    signal sourceChosen(string source)
    signal sortToggled()

    spacing: Theme.spacing

    Flow {
        Layout.fillWidth: true
        spacing: 6

        ToggleChip {
            objectName: "filterAll"
            active: root.source.length === 0
            text: Theme.t("全部安装包", "All Installers")
            onClicked: root.sourceChosen("")
        }
        Repeater {
            model: root.sources
            delegate: ToggleChip {
                required property string modelData
                objectName: "filterSource"
                active: root.source === modelData
                text: modelData
                onClicked: root.sourceChosen(modelData)
            }
        }
    }
    // Names the order shown now; a click switches to the other one.
    ToggleChip {
        objectName: "sortBySizeToggle"
        Layout.alignment: Qt.AlignTop
        active: true
        text: root.sortBySize ? Theme.t("按大小排序", "Sort by Size") : Theme.t("按名称排序", "Sort by Name")
        Accessible.role: Accessible.Button
        Accessible.name: root.sortBySize ? Theme.t("按大小排序", "Sort by Size") : Theme.t("按名称排序", "Sort by Name")
        Accessible.description: root.sortBySize ? Theme.t("改为按名称排序", "Sort by name instead")
                                                : Theme.t("改为按大小排序", "Sort by size instead")
        onClicked: root.sortToggled()
    }
}
