import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// The optimisation page.
FeaturePage {
    objectName: "page_optimize"
    title: Theme.t("优化", "Optimize")
    subtitle: Theme.t("刷新系统服务、重建缓存、整理诊断数据，帮助常见异常状态恢复。",
                      "Refresh services, rebuild caches, and organize diagnostics to recover from common system issues.")

    AboutBox {
        Layout.fillWidth: true
        title: Theme.t("关于优化", "About Optimization")
        promises: [
            Theme.t("先预览再执行", "Preview before run"),
            Theme.t("可设置保护项", "Safeguards available"),
            Theme.t("不涉及文件删除", "No files deleted")
        ]
    }
}
