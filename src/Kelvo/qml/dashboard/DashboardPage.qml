import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The Overview page: the machine's health, one card per area, and the busiest processes, sampled
// every 2 seconds while the page is on screen and the window is not minimised.
FeaturePage {
    id: page
    readonly property var cards: AppModel.status.cards
    readonly property bool onScreen: visible && Window.window !== null
                                     && Window.window.visibility !== Window.Minimized
                                     && Window.window.visibility !== Window.Hidden

    objectName: "page_dashboard"
    feature: AppFeature.Dashboard
    subtitle: Theme.t("查看当前负载、内存、磁盘、电源、网络和进程状态，并从这里开始一次安全检查。",
                      "See current CPU, memory, disk, power, network, and process status, then start a safe check from here.")

    onOnScreenChanged: AppModel.status.live = onScreen
    Component.onCompleted: AppModel.status.live = onScreen
    Component.onDestruction: AppModel.status.live = false

    HealthHero {
        objectName: "healthHero"
        Layout.fillWidth: true
        hero: page.cards.hero
        host: page.cards.host
        onRefreshRequested: AppModel.request(Actions.status(true))
    }

    GridLayout {
        Layout.fillWidth: true
        columns: page.width > 900 ? 3 : 2
        columnSpacing: Theme.spacing
        rowSpacing: Theme.spacing

        StatusCard {
            objectName: "cpuCard"
            title: "CPU"
            figure: page.cards.cpu.usageText
            caption: page.cards.cpu.coresText
            FigureLine {
                Layout.fillWidth: true
                label: Theme.t("负载", "Load")
                value: page.cards.cpu.loadText
            }
            Flow {
                objectName: "perCoreBars"
                Layout.fillWidth: true
                spacing: 3
                Repeater {
                    model: page.cards.cpu.perCore
                    delegate: Rectangle {
                        required property real modelData
                        width: 7
                        height: 26
                        radius: 2
                        color: Theme.controlFill
                        Rectangle {
                            anchors.bottom: parent.bottom
                            width: parent.width
                            height: Math.max(2, parent.height * parent.modelData)
                            radius: 2
                            color: parent.modelData > 0.85 ? Theme.danger : Theme.accent
                        }
                    }
                }
            }
            Label {
                visible: text.length > 0
                Layout.fillWidth: true
                text: page.cards.cpu.note
                color: Theme.textTertiary
                font.pixelSize: Theme.fontCaption
                wrapMode: Text.WordWrap
            }
        }

        StatusCard {
            objectName: "memoryCard"
            title: Theme.t("内存", "Memory")
            figure: page.cards.memory.usedText
            caption: page.cards.memory.totalCaption
            UsageBar {
                Layout.fillWidth: true
                fraction: page.cards.memory.fraction
            }
            FigureLine {
                Layout.fillWidth: true
                label: Theme.t("缓存", "Cache")
                value: page.cards.memory.cachedText
            }
            FigureLine {
                Layout.fillWidth: true
                label: Theme.t("压力", "Pressure")
                value: page.cards.memory.pressureText
                valueColor: page.cards.memory.level === StatusLevel.Danger ? Theme.dangerText
                            : page.cards.memory.level === StatusLevel.Warn ? Theme.warningText : Theme.textPrimary
            }
            FigureLine {
                Layout.fillWidth: true
                label: Theme.t("交换", "Swap")
                value: page.cards.memory.swapText
            }
        }

        StatusCard {
            objectName: "powerCard"
            title: Theme.t("电源", "Power")
            figure: page.cards.power.percentText
            caption: page.cards.power.stateText
            UsageBar {
                visible: page.cards.power.hasBattery
                Layout.fillWidth: true
                fraction: page.cards.power.fraction
                fill: page.cards.power.fraction < 0.2 ? Theme.danger : Theme.success
            }
            BodyText {
                visible: text.length > 0
                Layout.fillWidth: true
                text: page.cards.power.detailText
                font.pixelSize: Theme.fontSmall
            }
            BodyText {
                visible: text.length > 0
                Layout.fillWidth: true
                text: page.cards.power.wattsText
                font.pixelSize: Theme.fontSmall
            }
        }

        StatusCard {
            objectName: "diskCard"
            Layout.columnSpan: 2
            title: Theme.t("磁盘", "Disk")
            figure: page.cards.disks.length > 0 ? page.cards.disks[0].percentText : "—"
            caption: page.cards.disks.length > 0 ? page.cards.disks[0].name : Theme.t("没有数据", "No data")
            Repeater {
                model: page.cards.disks
                delegate: ColumnLayout {
                    required property var modelData
                    objectName: "diskRow"
                    Layout.fillWidth: true
                    spacing: 3
                    RowLayout {
                        Layout.fillWidth: true
                        Label {
                            objectName: "diskName"
                            Layout.fillWidth: true
                            text: modelData.name + (modelData.mount.length > 0 && modelData.mount !== modelData.name
                                                    ? "  " + modelData.mount : "")
                            color: Theme.textPrimary
                            font.pixelSize: Theme.fontSmall
                            font.weight: Font.Medium
                            elide: Text.ElideMiddle
                        }
                        Chip {
                            visible: modelData.external
                            text: Theme.t("外接", "External")
                            font.pixelSize: Theme.fontCaption
                        }
                        Label {
                            // Used, what the user can still write, and the share the bar shows, which is of
                            // the two together (the blocks kept for root are in neither), as df counts.
                            text: Theme.t("已用 ", "Used ") + modelData.usedText + " · " + Theme.t("可用 ", "Available ")
                                  + modelData.freeText + " · " + modelData.percentText
                            color: Theme.textSecondary
                            font.pixelSize: Theme.fontCaption
                        }
                    }
                    UsageBar {
                        Layout.fillWidth: true
                        fraction: modelData.fraction
                    }
                }
            }
            Label {
                objectName: "diskHint"
                visible: text.length > 0
                text: page.cards.diskHint
                color: page.cards.diskHintLevel === StatusLevel.Danger ? Theme.dangerText : Theme.warningText
                font.pixelSize: Theme.fontSmall
                font.weight: Font.DemiBold
            }
            FigureLine {
                Layout.fillWidth: true
                label: Theme.t("读 / 写", "Read / Write")
                value: page.cards.diskIO.readText + " / " + page.cards.diskIO.writeText
            }
            Sparkline {
                objectName: "diskSparkline"
                Layout.fillWidth: true
                primary: page.cards.diskIO.readHistory
                secondary: page.cards.diskIO.writeHistory
            }
        }

        StatusCard {
            objectName: "networkCard"
            title: Theme.t("网络", "Network")
            figure: "↓ " + page.cards.network.rxText
            caption: "↑ " + page.cards.network.txText
            // Which traffic the figures count, on hover.
            ToolTip.visible: networkHover.hovered
            ToolTip.delay: 400
            ToolTip.text: page.cards.network.note
            HoverHandler {
                id: networkHover
            }
            Sparkline {
                objectName: "networkSparkline"
                Layout.fillWidth: true
                primary: page.cards.network.rxHistory
                secondary: page.cards.network.txHistory
            }
            BodyText {
                Layout.fillWidth: true
                text: page.cards.network.interfaceText
                font.pixelSize: Theme.fontSmall
                elide: Text.ElideRight
            }
            FigureLine {
                Layout.fillWidth: true
                label: Theme.t("代理", "Proxy")
                value: page.cards.proxy
            }
        }

        StatusCard {
            objectName: "systemCard"
            Layout.columnSpan: page.width > 900 ? 3 : 2
            title: Theme.t("系统", "System")
            figure: page.cards.host.uptime
            caption: page.cards.host.platform
            FigureLine {
                Layout.fillWidth: true
                label: Theme.t("废纸篓", "Trash")
                value: page.cards.trash
            }
            FigureLine {
                Layout.fillWidth: true
                label: Theme.t("进程数", "Processes")
                value: page.cards.host.processCount
            }
        }
    }

    ProcessList {
        id: processList
        objectName: "processList"
        Layout.fillWidth: true
        onEndRequested: (pid, startTime, name, force) => endDialog.ask(pid, startTime, name, force)
    }

    EndProcessDialog {
        id: endDialog
        onConfirmed: AppModel.status.endProcess(pid, startTime, processName, force)
    }

    Binding {
        target: AppModel.status
        property: "listHeld"
        value: processList.menuOpen || endDialog.shown
    }
}
