import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// The Uninstall page: the installed apps with a check box each, when each was last opened and what
// removing it frees; each row opens the list of the app's leftovers. The chosen apps are uninstalled
// after a confirmation. Ctrl+R (Command+R on macOS) scans.
FeaturePage {
    id: page

    readonly property bool hasReport: AppModel.uninstall.hasReport
    // The apps with the choice, each with its leftovers and theirs: a new report keeps the apps still
    // listed that were chosen, and its leftovers start from the strong matches.
    readonly property UninstallAppModel apps: AppModel.uninstall.apps

    function preview() {
        AppModel.request(Actions.uninstall(true))
    }

    objectName: "page_uninstall"
    feature: AppFeature.Uninstall
    subtitle: Theme.t("查找应用本体和偏好设置、启动项、日志、缓存等残留文件。",
                      Theme.bySystem("Find apps along with leftover preferences, login items, logs, and caches.",
                                     "Find apps along with leftover settings, autostart entries, logs, and caches."))
    keyScrolling: true
    hasRunShortcut: true
    onRunShortcutActivated: page.preview()
    filterField: results.filterField
    hasDeleteShortcut: true
    onDeleteShortcutActivated: if (page.apps.chosenCount > 0) confirmDialog.shown = true

    PageToolbar {
        Layout.fillWidth: true
        footnote: Theme.t("先看应用列表，再决定要处理哪个应用。", "Check the app list first, then choose what to remove.")
        lastRunFeature: AppFeature.Uninstall

        KButton {
            objectName: "uninstallPreviewButton"
            shortcutText: page.runShortcutText
            primary: !page.hasReport || page.apps.count === 0
            enabled: !AppModel.run.isRunning
            text: page.hasReport ? Theme.t("重新扫描", "Rescan") : Theme.t("预览", "Preview")
            onClicked: page.preview()
        }
        KButton {
            objectName: "uninstallChooseButton"
            primary: page.hasReport && page.apps.count > 0
            enabled: !AppModel.run.isRunning && page.hasReport && page.apps.count > 0
            text: Theme.t("选择应用", "Choose Apps")
            onClicked: page.bringToTop(results)
        }
    }

    RunProgressPanel {
        Layout.fillWidth: true
        feature: AppFeature.Uninstall
        placePrefix: Theme.t("正在处理 ", "Working on ")
        waitingText: Theme.t("正在处理，请稍等。", "Working, please wait.")
    }

    AboutBox {
        feature: page.feature
        Layout.fillWidth: true
        title: Theme.t("关于本次扫描", "About This Scan")
        caption: Theme.t("检查以下位置的应用及残留", "Checks apps and leftovers in these locations")
        tags: AppModel.uninstall.linuxApplications
              ? ["~/Applications", "~/.local/share/applications", "Flatpak", "~/.config", "~/.local/share",
                 "~/.cache", "~/.var/app"]
              : ["~/Library/Application Support", "~/Library/Caches", "~/Library/Preferences"]
        promises: [
            Theme.t("先预览再卸载", "Preview before uninstall"),
            Theme.t("同时清理残留文件", "Cleans leftovers too")
        ]
    }

    ResultsPanel {
        id: results
        Layout.fillWidth: true
        filterable: true
        shownCount: shownApps.count
        title: Theme.t("预览结果", "Preview Results")
        hasReport: page.hasReport
        empty: page.hasReport && page.apps.count === 0
        promptTitle: Theme.t("先运行一次预览", "Start with a preview")
        promptDetail: Theme.t("点击“预览”或按 " + page.runShortcutText + "，列出已安装的应用和它们的残留文件。",
                              "Choose Preview or press " + page.runShortcutText
                              + " to list the installed apps and their leftovers.")
        emptyTitle: Theme.t("当前没有可显示的应用", "No apps to show")
        emptyDetail: Theme.t("没有找到可列出的应用。", "No apps were found to list.")
        // What the scan could not look at (a Flatpak tool that did not answer) follows the count.
        summary: page.hasReport
                 ? [Theme.counted(page.apps.count, " 个应用", " app", " apps")
                    + Theme.t("，正式卸载前仍会再次确认。", ". You will confirm again before uninstalling.")]
                   .concat(AppModel.uninstall.notes).join(" ")
                 : ""

        SelectionBar {
            Layout.fillWidth: true
            Layout.bottomMargin: Theme.spacingSmall
            selectedCount: page.apps.chosenCount
            selectableCount: page.apps.choosableCount
            busy: AppModel.run.isRunning
            actionText: Theme.t("开始卸载", "Start Uninstall")
            onSelectAllRequested: page.apps.setChosen(shownApps.values("key"), true)
            onClearRequested: page.apps.chooseAll(false)
            onActionRequested: confirmDialog.shown = true
        }
        ColumnHeadings {
            Layout.fillWidth: true
            leadingInset: 18 + 26 + 2 * Theme.spacing
            trailingInset: 28 + Theme.spacing
            firstTitle: page.apps.chosenCount > 0 ? Theme.t("已选应用", "Selected Apps") : ""
            columns: [
                { title: Theme.t("来源", "Source"), width: 140 },
                { title: Theme.t("最近打开", "Last opened"), width: 96 },
                { title: Theme.t("大小", "Size"), width: 78 }
            ]
        }
        RowFilter {
            id: shownApps
            sourceModel: page.apps
            roles: ["name", "bundleID", "source", "path"]
            text: results.filterText
        }
        Repeater {
            model: shownApps
            delegate: UninstallEntryRow {
                id: appRow
                required property int index
                required property string key
                required property bool chosen
                required name
                required bundleID
                required source
                required path
                required iconPath
                required sizeText
                required appSizeText
                required leftoverSizeText
                required lastOpenedText
                required leftovers

                Layout.fillWidth: true
                first: index === 0
                selected: chosen
                onToggled: page.apps.setChosen([appRow.key], !appRow.chosen)
                onExpandToggled: appRow.expanded = !appRow.expanded
            }
        }
    }

    SelectionConfirmDialog {
        id: confirmDialog
        objectName: "uninstallConfirmDialog"
        title: Theme.t("卸载这些应用？", "Uninstall These Apps?")
        // The engine's sentence, the one kelvo uninstall asks with: the apps, leftovers, size and the Trash
        // (read again when the language changes).
        message: shown && Localization.chinese !== undefined ? AppModel.uninstall.chosenConfirmation() : ""
        confirmText: Theme.t("继续", "Continue")
        onConfirmed: AppModel.uninstall.uninstallChosen()
    }
}
