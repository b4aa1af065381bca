import QtQuick
import QtQuick.Layouts
import Kelvo 1.0

// A hairline between rows.
Rectangle {
    Layout.fillWidth: true
    implicitHeight: 1
    color: Theme.hairline
}
