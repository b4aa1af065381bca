import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// The Overview page.
FeaturePage {
    objectName: "page_dashboard"
    title: Theme.t("概览", "Overview")
    subtitle: Theme.t("查看当前负载、内存、磁盘、电源、网络和进程状态，并从这里开始一次安全检查。",
                      "See current CPU, memory, disk, power, network, and process status, then start a safe check from here.")
}
