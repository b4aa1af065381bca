import QtQuick
import QtQuick.Layouts
import "../components"

// The storage analysis page.
FeaturePage {
    objectName: "page_analyze"
    title: Theme.t("空间分析", "Storage Analysis")
    subtitle: Theme.t("选择一个位置，找出最占空间的文件和文件夹。",
                      "Choose a location and find the files and folders using the most space.")

    AboutBox {
        Layout.fillWidth: true
        title: Theme.t("关于本次分析", "About This Analysis")
        tags: [
            Theme.t("目录大小统计", "Directory Sizes"),
            Theme.t("按大小排序", "Ranked by Size"),
            Theme.t("超大文件检测", "Large File Detection"),
            Theme.t("逐层深入", "Drill Down")
        ]
        promises: [
            Theme.t("只读取元数据", "Reads metadata only"),
            Theme.t("不自动删除", "No auto-delete"),
            Theme.t("删除前逐项确认", "Confirm before delete")
        ]
    }
}
