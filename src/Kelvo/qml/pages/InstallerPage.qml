import QtQuick
import QtQuick.Layouts
import "../components"

// The installer clean-up page.
FeaturePage {
    objectName: "page_installer"
    title: Theme.t("安装包整理", "Installer Cleanup")
    subtitle: Theme.t("查找下载的安装包文件，帮你释放磁盘空间。",
                      "Find downloaded installer files and help free disk space.")

    AboutBox {
        Layout.fillWidth: true
        title: Theme.t("关于本次扫描", "About This Scan")
        tags: [Theme.t("文件类型", "File types")]
        promises: [
            Theme.t("不自动删除", "No auto-delete"),
            Theme.t("清理前确认", "Confirm first"),
            Theme.t("只移到废纸篓", "To Trash only")
        ]
    }
}
