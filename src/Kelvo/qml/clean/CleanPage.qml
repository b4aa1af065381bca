import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kelvo 1.0

// The Smart Clean page: preview what can be cleaned, then clean after a confirmation.
// Ctrl+R (Command+R on macOS) runs the preview; the arrow, page and Home/End keys scroll the page
// once the results have the keyboard focus.
FeaturePage {
    id: page

    readonly property CleanEntryModel entries: AppModel.clean.entries
    readonly property bool hasReport: AppModel.clean.hasReport
    readonly property bool hasCleanable: AppModel.clean.cleanableCount > 0
    readonly property bool nothingChosen: hasCleanable && !entries.someChosen

    function preview() {
        AppModel.request(Actions.clean(true))
    }

    objectName: "page_clean"
    feature: AppFeature.Clean
    subtitle: Theme.t("检查缓存、日志、浏览器残留、应用残留和废纸篓内容。",
                      "Check caches, logs, browser leftovers, app leftovers, and Trash.")
    keyScrolling: true
    hasRunShortcut: true
    onRunShortcutActivated: page.preview()
    filterField: results.filterField
    hasDeleteShortcut: true
    onDeleteShortcutActivated: if (startButton.enabled) startButton.clicked()

    PageToolbar {
        Layout.fillWidth: true
        footnote: page.nothingChosen
                  ? Theme.t("没有选择任何项目：请至少勾选一项再开始清理。", "Nothing is chosen: tick at least one item to start cleaning.")
                  : Theme.t("预览不会删除任何内容。", "Preview does not delete anything.")
        lastRunFeature: AppFeature.Clean

        KButton {
            objectName: "cleanPreviewButton"
            shortcutText: page.runShortcutText
            primary: !page.hasCleanable
            enabled: !AppModel.run.isRunning
            text: page.hasReport ? Theme.t("重新预览", "Re-preview") : Theme.t("预览", "Preview")
            onClicked: page.preview()
        }
        KButton {
            id: startButton
            objectName: "cleanStartButton"
            primary: page.hasCleanable
            enabled: !AppModel.run.isRunning && page.hasCleanable && !page.nothingChosen
            text: Theme.t("开始清理", "Start Cleaning")
            onClicked: AppModel.request(Actions.clean(false))
        }
        KButton {
            objectName: "cleanProtectionButton"
            enabled: !AppModel.run.isRunning
            text: Theme.t("保护名单", "Protection List")
            onClicked: AppModel.request(Actions.cleanWhitelist())
        }
    }

    RunProgressPanel {
        Layout.fillWidth: true
        feature: AppFeature.Clean
        placePrefix: Theme.t("正在测量 ", "Measuring ")
        waitingText: Theme.t("正在处理，请稍等。", "Working, please wait.")
    }

    AboutBox {
        feature: page.feature
        Layout.fillWidth: true
        title: Theme.t("关于本次清理", "About This Cleanup")
        caption: Theme.t("检查以下 6 类残留", "Checks 6 categories of leftovers")
        tags: [
            Theme.t("用户缓存", "User Caches"),
            Theme.t("日志文件", "Log Files"),
            Theme.t("网页临时数据", "Web Temp Data"),
            Theme.t("崩溃报告", "Crash Reports"),
            Theme.t("开发者缓存", "Developer Cache"),
            Theme.t("废纸篓", "Trash")
        ]
        promises: [
            Theme.t("先预览再清理", "Preview before clean"),
            Theme.t("可设置保护名单", "Protection list available"),
            Theme.t("系统文件自动跳过", "System files skipped")
        ]
    }

    ResultsPanel {
        id: results
        Layout.fillWidth: true
        filterable: true
        shownCount: sectionList.shownCount
        title: Theme.t("预览结果", "Preview Results")
        hasReport: page.hasReport
        empty: page.hasReport && page.entries.count === 0
        promptTitle: Theme.t("先运行一次预览", "Start with a preview")
        promptDetail: Theme.t("看看哪些缓存、日志和残留可以清理。点击“预览”或按 " + page.runShortcutText + " 开始。",
                              "See which caches, logs and leftovers can be cleaned. Choose Preview or press "
                              + page.runShortcutText + " to begin.")
        emptyTitle: Theme.t("没有发现明显可清理项目", "No clear cleanup targets found")
        emptyDetail: Theme.t("本次检查没有需要重点处理的内容。", "This scan did not find anything that needs attention.")
        summary: page.hasReport
                 ? Theme.counted(page.entries.count, " 个位置", " place", " places")
                   + Theme.t("，正式清理前仍会让你确认。", ". You will still confirm before real cleanup.")
                 : ""
        summaryDetail: AppModel.clean.willFree === "" ? AppModel.clean.summary
                       : AppModel.clean.summary + "  ·  " + AppModel.clean.willFree

        // What the choice amounts to; it follows every tick.
        Label {
            objectName: "cleanChoiceLine"
            Layout.fillWidth: true
            visible: page.hasCleanable
            text: Theme.t("已选 " + page.entries.chosenCount + " 项，共 " + Theme.bytes(page.entries.chosenBytes)
                          + "；保护名单保留之后可释放 " + Theme.bytes(page.entries.chosenWillFree),
                          page.entries.chosenCount + " chosen, " + Theme.bytes(page.entries.chosenBytes)
                          + "; will free " + Theme.bytes(page.entries.chosenWillFree) + " after protection")
            color: Theme.textPrimary
            font.pixelSize: Theme.fontBody
            font.weight: Font.DemiBold
            wrapMode: Text.WordWrap
            leftPadding: 12
            bottomPadding: Theme.spacingSmall
        }

        CleanSectionList {
            id: sectionList
            Layout.fillWidth: true
            filterText: results.filterText
            sections: AppModel.clean.sections
            entries: page.entries
        }
    }
}
