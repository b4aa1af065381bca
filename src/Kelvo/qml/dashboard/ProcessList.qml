import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The busiest processes, live: name and path, PID, CPU and memory, and a menu to quit one, force it to
// quit, or show its program in the file manager. Run as root, a switch shows every user's processes.
GlassPanel {
    id: root
    property var status: AppModel.status
    // While the menu is open the rows hold still under the pointer.
    readonly property bool menuOpen: processMenu.visible
    signal endRequested(int pid, string startTime, string name, bool force)

    ColumnLayout {
        anchors.left: parent.left
        anchors.right: parent.right
        spacing: Theme.spacingSmall

        RowLayout {
            Layout.fillWidth: true
            ColumnLayout {
                spacing: 2
                Label {
                    text: Theme.t("进程", "Processes")
                    color: Theme.textPrimary
                    font.pixelSize: Theme.fontHeadline
                    font.weight: Font.DemiBold
                }
                Label {
                    text: Theme.t("实时 CPU 与内存占用", "Live CPU & memory by process")
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontSmall
                }
            }
            Item { Layout.fillWidth: true }
            Label {
                visible: root.status.allUsersOffered
                text: Theme.t("所有用户", "All users")
                color: Theme.textSecondary
                font.pixelSize: Theme.fontSmall
            }
            ToggleSwitch {
                objectName: "allUsersSwitch"
                Accessible.name: Theme.t("显示所有用户的进程", "Show processes of all users")
                visible: root.status.allUsersOffered
                checked: root.status.allUsers
                onToggled: root.status.allUsers = checked
            }
            SegmentedControl {
                objectName: "processSortChoice"
                value: root.status.processSort
                options: [
                    { value: "cpu", label: "CPU" },
                    { value: "memory", label: Theme.t("内存", "Memory") }
                ]
                onActivated: value => root.status.processSort = value
            }
        }

        RowLayout {
            visible: rows.count > 0
            Layout.fillWidth: true
            Layout.topMargin: Theme.spacingSmall
            spacing: Theme.spacing
            Repeater {
                model: [
                    { text: Theme.t("名称", "Name"), width: -1 },
                    { text: "PID", width: 64 },
                    { text: "CPU", width: 64 },
                    { text: Theme.t("内存", "Memory"), width: 64 },
                    { text: "", width: 28 }
                ]
                delegate: Label {
                    required property var modelData
                    Layout.fillWidth: modelData.width < 0
                    Layout.preferredWidth: modelData.width < 0 ? 10 : modelData.width
                    horizontalAlignment: modelData.width < 0 ? Text.AlignLeft : Text.AlignRight
                    text: modelData.text
                    color: Theme.textTertiary
                    font.pixelSize: Theme.fontCaption
                    font.weight: Font.DemiBold
                }
            }
        }

        Repeater {
            id: rows
            model: root.status.processes
            delegate: ItemDelegate {
                id: row
                required property var pid
                required property string startTime
                required property string name
                required property string command
                required property string cpuText
                required property string memoryText
                required property bool canEnd
                required property string executable
                objectName: "processRow"
                Accessible.role: Accessible.ListItem
                Accessible.name: name + ", CPU " + cpuText + ", " + Theme.t("内存 ", "memory ") + memoryText
                Accessible.description: command
                Layout.fillWidth: true
                leftPadding: 0
                rightPadding: 0
                background: ListRowBackground { hovered: row.hovered }
                contentItem: RowLayout {
                    spacing: Theme.spacing
                    ColumnLayout {
                        Layout.fillWidth: true
                        Layout.preferredWidth: 10
                        spacing: 1
                        Label {
                            objectName: "processName"
                            Layout.fillWidth: true
                            text: row.name
                            color: Theme.textPrimary
                            font.pixelSize: Theme.fontBody
                            font.weight: Font.Medium
                            elide: Text.ElideRight
                        }
                        Label {
                            objectName: "processPath"
                            Layout.fillWidth: true
                            text: row.command.length > 0 ? row.command : Theme.t("没有路径信息", "No path information")
                            color: Theme.textTertiary
                            font.pixelSize: Theme.fontCaption
                            elide: Text.ElideMiddle
                        }
                    }
                    Repeater {
                        model: [String(row.pid === undefined ? "—" : row.pid), row.cpuText, row.memoryText]
                        delegate: Label {
                            required property string modelData
                            Layout.preferredWidth: 64
                            horizontalAlignment: Text.AlignRight
                            text: modelData
                            color: Theme.textSecondary
                            font.pixelSize: Theme.fontSmall
                            font.family: Theme.monoFamily
                        }
                    }
                    MoreButton {
                        objectName: "processActionsButton"
                        itemName: row.name
                        onClicked: processMenu.openFor(this, row)
                    }
                }
            }
        }

        EmptyState {
            visible: rows.count === 0
            Layout.fillWidth: true
            Layout.topMargin: Theme.spacing
            Layout.bottomMargin: Theme.spacing
            title: Theme.t("还没有进程数据", "No Process Data Yet")
            detail: Theme.t("等待实时状态刷新后会显示进程占用。", "Process usage will appear after live status refreshes.")
        }
    }

    Menu {
        id: processMenu
        // What the menu acts on, taken when it opens: the process it was opened for, whatever the
        // list does meanwhile.
        property var target: null
        function openFor(anchor, row) {
            target = { pid: row.pid, startTime: row.startTime, name: row.name, canEnd: row.canEnd,
                       executable: row.executable }
            const corner = anchor.mapToItem(parent, anchor.width - implicitWidth, anchor.height + 4)
            popup(corner.x, corner.y)
        }
        objectName: "processMenu"
        parent: Overlay.overlay
        padding: 5
        background: Rectangle {
            implicitWidth: 200
            radius: Theme.radiusControl + 2
            color: Theme.sheetFill
            border.color: Theme.hairline
        }
        ActionMenuItem {
            objectName: "actionQuit"
            enabled: processMenu.target !== null && processMenu.target.canEnd
            text: Theme.t("退出", "Quit")
            onTriggered: root.endRequested(processMenu.target.pid, processMenu.target.startTime,
                                           processMenu.target.name, false)
        }
        ActionMenuItem {
            objectName: "actionForceQuit"
            destructive: true
            enabled: processMenu.target !== null && processMenu.target.canEnd
            text: Theme.t("强制退出…", "Force Quit…")
            onTriggered: root.endRequested(processMenu.target.pid, processMenu.target.startTime,
                                           processMenu.target.name, true)
        }
        ActionMenuItem {
            objectName: "actionRevealProcess"
            enabled: processMenu.target !== null && processMenu.target.executable.length > 0
            text: Theme.bySystem(Theme.t("在 Finder 中显示", "Show in Finder"),
                                 Theme.t("在文件管理器中显示", "Show in File Manager"))
            onTriggered: AppModel.revealInFileManager(processMenu.target.executable)
        }
    }
}
