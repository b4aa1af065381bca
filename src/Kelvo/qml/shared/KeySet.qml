import QtQml
import Kelvo 1.0

// What a page has chosen among the rows of a report, as keys (paths, ids). Every change assigns a
// new list, so bindings that read `keys`, `has()` or `count` follow it.
QtObject {
    property var keys: []
    readonly property int count: keys.length

    function has(key) {
        return keys.indexOf(key) >= 0
    }
    function toggle(key) {
        keys = has(key) ? keys.filter(other => other !== key) : keys.concat([key])
    }
    function addAll(more) {
        const all = keys.slice()
        for (let i = 0; i < more.length; ++i) {
            if (all.indexOf(more[i]) < 0)
                all.push(more[i])
        }
        keys = all
    }
    // Keeps only the keys still listed, as after a new report.
    function retainOnly(listed) {
        keys = keys.filter(key => listed.indexOf(key) >= 0)
    }
    function clear() {
        keys = []
    }
}
