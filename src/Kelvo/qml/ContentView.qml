import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// The window's content: the sidebar, the page of the chosen feature with the status line under
// it, and the alerts and sheets the controller asks for. Runs the start-up sequence once.
Item {
    id: root
    property var window
    property Item backdrop

    objectName: "contentView"
    Component.onCompleted: AppModel.startUp()

    SidebarView {
        id: sidebar
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        width: Theme.sidebarWidth
        window: root.window
        backdrop: root.backdrop
        focus: true
    }

    Item {
        id: mainArea
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.left: sidebar.right
        anchors.right: parent.right

        // Over a chosen image the content area gets a light glass layer of its own, so that the
        // titles drawn straight on the background stay readable on dark or busy pictures.
        Rectangle {
            anchors.fill: parent
            visible: AppModel.appearance.customWindowBackgroundURL.toString().length > 0
            color: Theme.contentVeil
        }

        // The hidden title bar on macOS; elsewhere the system's title bar moves the window.
        Loader {
            id: titleBar
            anchors.top: parent.top
            anchors.left: parent.left
            anchors.right: parent.right
            height: Theme.titleBarHeight
            active: Theme.macOS
            sourceComponent: WindowDragArea {
                window: root.window
            }
        }

        Loader {
            id: page
            objectName: "pageLoader"
            anchors.top: titleBar.bottom
            anchors.bottom: statusStrip.top
            anchors.bottomMargin: Theme.spacing
            anchors.left: parent.left
            anchors.right: parent.right
            source: (sidebar.features[sidebar.currentIndex] || sidebar.features[0]).page
        }

        StatusStripView {
            id: statusStrip
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.leftMargin: Theme.pageMargin - 8
            anchors.rightMargin: Theme.pageMargin - 8
            anchors.bottomMargin: Theme.spacingLarge - 4
        }
    }

    ConfirmActionDialog {}
    MessageAlertDialog {}
    ProtectionListSheet {
        onClosed: sidebar.forceActiveFocus()
    }
    SafeguardSheet {
        onClosed: sidebar.forceActiveFocus()
    }
    UpdateSheet {
        onClosed: sidebar.forceActiveFocus()
    }
}
