import QtQuick
import QtQuick.Layouts

// A hairline between rows.
Rectangle {
    Layout.fillWidth: true
    implicitHeight: 1
    color: Theme.hairline
}
