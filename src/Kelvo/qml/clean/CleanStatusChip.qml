import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// The status of one Smart Clean entry as a coloured tag: green for what a clean removes, amber for
// what it leaves alone, grey for information and for a place that would free nothing.
Label {
    id: root
    property int status
    // A cleanable place whose clean would free nothing reads so.
    property bool nothingToFree

    readonly property var looks: ({
        [CleanEntryStatus.Cleanable]: { zh: "可清理", en: "Cleanable", tone: Theme.success },
        [CleanEntryStatus.Skipped]: { zh: "已跳过", en: "Skipped", tone: Theme.warning },
        [CleanEntryStatus.Done]: { zh: "已完成", en: "Done", tone: Theme.success },
        [CleanEntryStatus.Review]: { zh: "需查看", en: "Review", tone: Theme.accent },
        [CleanEntryStatus.Info]: { zh: "信息", en: "Info", tone: Theme.textTertiary },
        [CleanEntryStatus.Detail]: { zh: "详情", en: "Detail", tone: Theme.textTertiary },
        [CleanEntryStatus.Summary]: { zh: "汇总", en: "Summary", tone: Theme.textTertiary }
    })
    readonly property var look: nothingToFree
        ? { zh: "无可释放", en: "Nothing to Free", tone: Theme.textTertiary }
        : looks[status] || looks[CleanEntryStatus.Info]

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
