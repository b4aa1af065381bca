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
        [CleanEntryStatus.Cleanable]: { zh: "可清理", en: "Cleanable", ink: Theme.successText, fill: Theme.successSoft },
        [CleanEntryStatus.Skipped]: { zh: "已跳过", en: "Skipped", ink: Theme.warningText, fill: Theme.warningSoft },
        [CleanEntryStatus.Done]: { zh: "已完成", en: "Done", ink: Theme.successText, fill: Theme.successSoft },
        [CleanEntryStatus.Review]: { zh: "需查看", en: "Review", ink: Theme.accentText, fill: Theme.accentSoft },
        [CleanEntryStatus.Info]: { zh: "信息", en: "Info", ink: Theme.textSecondary, fill: Theme.neutralSoft },
        [CleanEntryStatus.Detail]: { zh: "详情", en: "Detail", ink: Theme.textSecondary, fill: Theme.neutralSoft },
        [CleanEntryStatus.Summary]: { zh: "汇总", en: "Summary", ink: Theme.textSecondary, fill: Theme.neutralSoft }
    })
    readonly property var look: nothingToFree
        ? { zh: "无可释放", en: "Nothing to Free", ink: Theme.textSecondary, fill: Theme.neutralSoft }
        : looks[status] || looks[CleanEntryStatus.Info]

    text: Theme.t(look.zh, look.en)
    color: look.ink
    leftPadding: 10
    rightPadding: 10
    topPadding: 3
    bottomPadding: 3
    font.pixelSize: Theme.fontSmall
    font.weight: Font.DemiBold
    background: Rectangle {
        radius: height / 2
        color: root.look.fill
    }
}
