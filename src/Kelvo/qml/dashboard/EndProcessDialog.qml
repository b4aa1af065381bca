import QtQuick
import Kelvo 1.0

// Asks before a process is ended. A quit asks the process to close; a force quit ends it at once.
// `ask(pid, startTime, name, force)` opens it; confirming reports `confirmed()` with the process still
// named by its pid and start time, so a process that took the pid meanwhile is not the one ended.
SelectionConfirmDialog {
    id: root
    property int pid: 0
    property string startTime
    property string processName
    property bool force: false
    // Two processes may share a name: the pid tells which one.
    readonly property string shownName: (processName.length > 0 ? processName : Theme.t("进程", "The process"))
                                        + " (PID " + pid + ")"

    function ask(processId, start, name, forced) {
        pid = processId
        startTime = start
        processName = name || ""
        force = forced
        shown = true
    }

    objectName: "endProcessDialog"
    buttonNamePrefix: "endProcess"
    title: force ? Theme.t("强制结束进程", "Force Quit Process") : Theme.t("退出进程", "Quit Process")
    confirmText: force ? Theme.t("强制退出", "Force Quit") : Theme.t("退出", "Quit")
    message: force
             ? Theme.t("将立即结束 " + shownName + "。未保存的内容会丢失。",
                       shownName + " will be ended immediately. Any unsaved work will be lost.")
             : Theme.t("将请求 " + shownName + " 退出。它可能会先要求保存内容。",
                       shownName + " will be asked to quit. It may ask to save its work first.")
}
