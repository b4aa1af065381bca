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
    ToggleChip {
        objectName: "sortBySizeToggle"
        Layout.alignment: Qt.AlignTop
        active: root.sortBySize
        text: Theme.t("按大小排序", "Sort by Size")
        onClicked: root.sortToggled()
    }
}
