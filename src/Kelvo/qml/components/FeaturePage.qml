import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The frame of every page: a scrolling column with the page's header on top and the page's own
// content below it.
Flickable {
    id: root
    property string title
    property string subtitle
    default property alias content: column.data

    clip: true
    contentWidth: width
    contentHeight: column.implicitHeight + Theme.spacingSmall + Theme.pageMargin
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

    ColumnLayout {
        id: column
        x: Theme.pageMargin
        y: Theme.spacingSmall
        width: root.width - 2 * Theme.pageMargin
        spacing: Theme.spacingLarge

        PageHeader {
            Layout.fillWidth: true
            Layout.bottomMargin: Theme.spacingSmall
            title: root.title
            subtitle: root.subtitle
        }
    }
}
