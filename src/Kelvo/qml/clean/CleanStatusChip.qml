import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// The status of one Smart Clean entry as a coloured tag: green for what a clean removes, amber for
// what it leaves alone, grey for information and for a place that would free nothing.
Label {
    id: root
    property string status

    readonly property var looks: ({
        cleanable: { zh: "可清理", en: "Cleanable", tone: Theme.success },
        nothingToFree: { zh: "无可释放", en: "Nothing to Free", tone: Theme.textTertiary },
        skipped: { zh: "已跳过", en: "Skipped", tone: Theme.warning },
        done: { zh: "已完成", en: "Done", tone: Theme.success },
        review: { zh: "需查看", en: "Review", tone: Theme.accent },
        info: { zh: "信息", en: "Info", tone: Theme.textTertiary },
        detail: { zh: "详情", en: "Detail", tone: Theme.textTertiary },
        summary: { zh: "汇总", en: "Summary", tone: Theme.textTertiary }
    })
    readonly property var look: looks[status] || { zh: status, en: status, tone: Theme.textTertiary }

    text: Theme.t(look.zh, look.en)
    color: Qt.darker(look.tone, 1.45)
    leftPadding: 10
    rightPadding: 10
    topPadding: 3
    bottomPadding: 3
    font.pixelSize: Theme.fontSmall
    font.weight: Font.DemiBold
    background: Rectangle {
        radius: height / 2
        color: root.look.tone
        opacity: 0.15
    }
}
