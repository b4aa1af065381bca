import QtQuick
import Kelvo 1.0

// A feature's last-run line, formatted from the stored statistics in one place: when it last ran and
// what it did, or that it has not run yet.
QtObject {
    // The AppFeature whose last run it tells of; Settings tells of the last update check.
    property int feature: -1
    readonly property var values: AppModel.statistics.values
    // The last run moved files to the Trash, where they still take their space.
    readonly property bool movedToTrash: (feature === AppFeature.Purge && values.lastPurgeCleanedCount > 0)
                                         || (feature === AppFeature.Installer && values.lastInstallerCleanedCount > 0)

    function when(seconds) {
        return Qt.formatDateTime(new Date(seconds * 1000), "yyyy-MM-dd HH:mm")
    }

    readonly property string text: {
        switch (feature) {
        case AppFeature.Clean:
            return values.lastCleanDate > 0
                ? Theme.t("上次清理 ", "Last cleaned ") + when(values.lastCleanDate)
                  + " · " + Theme.counted(values.lastCleanCount, " 个文件", " file", " files")
                : Theme.t("还没清理过", "Not cleaned yet")
        case AppFeature.Analyze: // the folder its figures are of
            return values.lastAnalysisDate > 0
                ? Theme.t("上次分析 ", "Last analyzed ") + when(values.lastAnalysisDate)
                  + " · " + values.lastAnalysisPath + " · " + Theme.bytes(values.lastAnalysisTotalSize)
                  + " · " + Theme.counted(values.lastAnalysisTotalFiles, " 个文件", " file", " files")
                : Theme.t("还没分析过", "Not analyzed yet")
        case AppFeature.Purge:
            // A move to the Trash frees nothing until the Trash is emptied, so the line says where it went.
            return values.lastPurgeCleanedCount > 0
                ? Theme.counted(values.lastPurgeCleanedCount, " 项", " item", " items")
                  + Theme.t("已移到废纸篓 · ", " moved to the Trash · ") + Theme.bytes(values.lastPurgeCleanedBytes)
                : Theme.t("还没瘦身过", "Not cleaned yet")
        case AppFeature.Installer:
            return values.lastInstallerCleanedCount > 0
                ? Theme.counted(values.lastInstallerCleanedCount, " 个文件", " file", " files")
                  + Theme.t("已移到废纸篓 · ", " moved to the Trash · ") + Theme.bytes(values.lastInstallerCleanedBytes)
                : Theme.t("还没整理过", "Not cleaned yet")
        case AppFeature.Optimize:
            return values.lastOptimizeDate > 0
                ? Theme.t("上次优化 ", "Last optimized ") + when(values.lastOptimizeDate)
                  + " · " + Theme.counted(values.lastOptimizeCount, " 个步骤", " step", " steps")
                : Theme.t("还没优化过", "Not optimized yet")
        case AppFeature.Uninstall:
            return values.lastUninstallDate > 0
                ? Theme.t("上次卸载 ", "Last uninstalled ") + when(values.lastUninstallDate)
                  + " · " + Theme.counted(values.lastUninstallCount, " 项", " item", " items")
                : Theme.t("还没卸载过", "No uninstalls yet")
        case AppFeature.Maintenance: // the settings page says itself that no check ran yet
            return values.lastUpdateCheckDate > 0
                ? Theme.t("上次检查 ", "Last checked ") + when(values.lastUpdateCheckDate) : ""
        }
        return ""
    }
}
