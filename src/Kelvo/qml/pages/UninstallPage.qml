import QtQuick
import QtQuick.Layouts
import "../components"

// The app uninstall page.
FeaturePage {
    objectName: "page_uninstall"
    title: Theme.t("卸载", "Uninstall")
    subtitle: Theme.t("查找应用本体和偏好设置、启动项、日志、缓存等残留文件。",
                      "Find apps along with leftover preferences, login items, logs, and caches.")

    AboutBox {
        Layout.fillWidth: true
        title: Theme.t("关于本次扫描", "About This Scan")
        caption: Theme.t("检查以下位置的应用及残留", "Checks apps and leftovers in these locations")
        tags: ["~/Library/Application Support", "~/Library/Caches", "~/Library/Preferences"]
        promises: [
            Theme.t("先预览再卸载", "Preview before uninstall"),
            Theme.t("同时清理残留文件", "Cleans leftovers too")
        ]
    }
}
