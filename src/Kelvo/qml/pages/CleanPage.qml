import QtQuick
import QtQuick.Layouts
import "../components"

// The Smart Clean page.
FeaturePage {
    objectName: "page_clean"
    title: Theme.t("清理", "Clean")
    subtitle: Theme.t("检查缓存、日志、浏览器残留、应用残留和废纸篓内容。",
                      "Check caches, logs, browser leftovers, app leftovers, and Trash.")

    AboutBox {
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
}
