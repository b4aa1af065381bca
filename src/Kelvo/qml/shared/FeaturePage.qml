import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The frame of every page: a scrolling column with the page's header on top and the page's own
// content below it. With `keyScrolling` the arrow, page and Home/End keys scroll the page once its
// content has the keyboard focus. With `hasRunShortcut` Ctrl+R (Command+R on macOS) asks the page
// for its run while nothing runs; `runShortcutText` names the keys as the system writes them.
// Ctrl+F (Command+F) moves the keyboard to the page's `filterField`; with `hasDeleteShortcut`, Delete
// asks the page to act on its chosen rows (a page always confirms first).
Flickable {
    id: root
    // The page's feature: its title is the sidebar's name for it.
    property int feature: -1
    property string title: Theme.featureName(feature)
    property string subtitle
    property bool keyScrolling: false
    property bool hasRunShortcut: false
    property Item filterField: null
    property bool hasDeleteShortcut: false
    readonly property string runShortcutText: runShortcut.nativeText
    default property alias content: column.data
    signal runShortcutActivated()
    signal deleteShortcutActivated()

    function scrollBy(delta) {
        contentY = Math.max(0, Math.min(Math.max(0, contentHeight - height), contentY + delta))
    }
    // Scrolls just enough for the item to be seen whole, when it is on this page; a panel taller
    // than half the page (the results, which the arrow keys scroll) is left where it is.
    function reveal(item) {
        if (item.height > height / 2)
            return
        let inside = false
        for (let at = item; at && !inside; at = at.parent)
            inside = at === contentItem
        if (!inside)
            return
        const margin = Theme.spacingLarge
        const top = item.mapToItem(contentItem, 0, 0).y
        if (top - margin < contentY)
            scrollBy(top - margin - contentY)
        else if (top + item.height + margin > contentY + height)
            scrollBy(Math.min(top - margin - contentY, top + item.height + margin - contentY - height))
    }
    // Scrolls until the item's top sits just below the page's top, and gives it the keyboard focus.
    function bringToTop(item) {
        scrollBy(item.mapToItem(contentItem, 0, 0).y - contentY - Theme.spacingSmall)
        item.forceActiveFocus()
    }

    clip: true
    contentWidth: width
    contentHeight: column.implicitHeight + Theme.spacingSmall + Theme.pageMargin
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

    Keys.enabled: keyScrolling
    Keys.onPressed: event => {
        const step = 48
        if (event.key === Qt.Key_Up)
            scrollBy(-step)
        else if (event.key === Qt.Key_Down)
            scrollBy(step)
        else if (event.key === Qt.Key_PageUp)
            scrollBy(-(height - step))
        else if (event.key === Qt.Key_PageDown)
            scrollBy(height - step)
        else if (event.key === Qt.Key_Home)
            scrollBy(-contentHeight)
        else if (event.key === Qt.Key_End)
            scrollBy(contentHeight)
        else
            return
        event.accepted = true
    }

    Shortcut {
        id: runShortcut
        sequence: "Ctrl+R"
        enabled: root.hasRunShortcut && !AppModel.run.isRunning
        onActivated: root.runShortcutActivated()
    }

    // The keyboard focus is always in sight: Tab scrolls the page to what it reaches.
    Connections {
        target: root.Window.window
        function onActiveFocusItemChanged() {
            if (root.Window.activeFocusItem)
                root.reveal(root.Window.activeFocusItem)
        }
    }

    Shortcut {
        objectName: "findShortcut"
        sequences: [StandardKey.Find]
        enabled: root.filterField !== null && root.filterField.visible
        onActivated: {
            root.bringToTop(root.filterField)
            root.filterField.selectAll()
        }
    }
    Shortcut {
        sequences: [StandardKey.Delete]
        enabled: root.hasDeleteShortcut && !AppModel.run.isRunning
        onActivated: root.deleteShortcutActivated()
    }

    ColumnLayout {
        id: column
        x: Theme.pageMargin
        y: Theme.spacingSmall
        width: root.width - 2 * Theme.pageMargin
        spacing: Theme.spacing + 4

        PageHeader {
            Layout.fillWidth: true
            title: root.title
            subtitle: root.subtitle
        }
    }
}
