import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// The Optimize page: preview the maintenance steps with what a run would do with each, then run them
// after a confirmation. Ctrl+R (Command+R on macOS) runs the preview; the arrow, page and Home/End
// keys scroll the page once the results have the keyboard focus.
FeaturePage {
    id: page

    readonly property bool hasReport: AppModel.optimize.hasReport
    readonly property bool canRun: hasReport && AppModel.optimize.willRunCount > 0

    function preview() {
        AppModel.request(Actions.optimize(true))
    }

    objectName: "page_optimize"
    feature: AppFeature.Optimize
    subtitle: Theme.t("刷新系统服务、重建缓存、整理诊断数据，帮助常见异常状态恢复。",
                      "Refresh services, rebuild caches, and organize diagnostics to recover from common system issues.")
    keyScrolling: true
    hasRunShortcut: true
    onRunShortcutActivated: page.preview()
    filterField: results.filterField

    PageToolbar {
        Layout.fillWidth: true
        footnote: Theme.t("预览只展示会处理的内容，不会立刻改动电脑。",
                          Theme.bySystem("Preview only shows what would be handled and does not change your Mac right away.",
                                         "Preview only shows what would be handled and does not change your computer right away."))
        lastRunFeature: AppFeature.Optimize

        KButton {
            objectName: "optimizePreviewButton"
            shortcutText: page.runShortcutText
            primary: !page.canRun
            enabled: !AppModel.run.isRunning
            text: page.hasReport ? Theme.t("重新预览", "Re-preview") : Theme.t("预览", "Preview")
            onClicked: page.preview()
        }
        KButton {
            objectName: "optimizeStartButton"
            primary: page.canRun
            enabled: !AppModel.run.isRunning && page.canRun
            text: Theme.t("开始优化", "Start Optimizing")
            onClicked: AppModel.request(Actions.optimize(false))
        }
        KButton {
            objectName: "optimizeSafeguardsButton"
            enabled: !AppModel.run.isRunning
            text: Theme.t("优化保护项", "Optimization Safeguards")
            onClicked: AppModel.request(Actions.optimizeWhitelist())
        }
    }

    RunProgressPanel {
        Layout.fillWidth: true
        feature: AppFeature.Optimize
        placePrefix: Theme.t("正在执行：", "Running ")
        waitingText: Theme.t("正在处理，请稍等。", "Working, please wait.")
    }

    AboutBox {
        feature: page.feature
        Layout.fillWidth: true
        title: Theme.t("关于优化", "About Optimization")
        caption: Theme.t("共 " + AppModel.optimize.checkCount + " 项检查可用",
                         AppModel.optimize.checkCount + " checks available")
        promises: [
            Theme.t("先预览再执行", "Preview before run"),
            Theme.t("可设置保护项", "Safeguards available"),
            Theme.t("不涉及个人文件", "Personal files untouched")
        ]
    }

    ResultsPanel {
        id: results
        Layout.fillWidth: true
        filterable: true
        shownCount: shownSteps.count
        title: Theme.t("预览结果", "Preview Results")
        hasReport: page.hasReport
        empty: page.hasReport && AppModel.optimize.steps.count === 0
        promptTitle: Theme.t("先运行一次预览", "Start with a preview")
        promptDetail: Theme.t("看看这台电脑上有哪些维护步骤可以执行。点击“预览”或按 " + page.runShortcutText + " 开始。",
                              "See which maintenance steps can run on this computer. Choose Preview or press "
                              + page.runShortcutText + " to begin.")
        emptyTitle: Theme.t("当前没有需要展示的优化内容", "No optimization items to show")
        emptyDetail: Theme.t("系统当前状态比较稳定。", "The system looks fairly stable right now.")
        summary: page.hasReport
                 ? Theme.counted(AppModel.optimize.steps.count, " 个步骤", " step", " steps")
                   + Theme.t("，正式执行前仍会再次确认。", ". You will confirm again before running them.")
                 : ""
        summaryDetail: AppModel.optimize.summary

        RowFilter {
            id: shownSteps
            sourceModel: AppModel.optimize.steps
            roles: ["name", "description", "detail", "stateText"]
            text: results.filterText
        }
        Repeater {
            model: shownSteps
            delegate: OptimizeStepRow {
                required property var model
                required property int index
                Layout.fillWidth: true
                first: index === 0
                name: model.name
                description: model.description
                detail: model.detail
                stateLabel: model.stateLabel
                tone: model.tone
                stateText: model.stateText
                durationText: model.durationText
            }
        }
    }
}
