import QtQuick
import QtQuick.Layouts
import "../components"

// The project clean-up page.
FeaturePage {
    objectName: "page_purge"
    title: Theme.t("项目瘦身", "Project Cleanup")
    subtitle: Theme.t("查找开发项目里的大体积临时文件和构建产物，先预览再处理。",
                      "Find large temporary files and build artifacts in development projects, then preview before removing.")

    AboutBox {
        Layout.fillWidth: true
        title: Theme.t("关于本次扫描", "About This Scan")
        promises: [
            Theme.t("不自动删除", "No auto-delete"),
            Theme.t("只移到废纸篓", "To Trash only")
        ]
    }
}
