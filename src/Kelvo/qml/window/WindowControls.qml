import QtQuick
import QtQuick.Controls
import Kelvo 1.0

// The close, minimise and zoom buttons of the window, drawn as the familiar three lights.
Row {
    id: root
    property var window

    spacing: 8

    HoverHandler { id: hover }

    Repeater {
        model: [
            { kind: "close", fill: Theme.windowCloseLight, glyph: "qrc:/icons/window-close.svg", zh: "关闭", en: "Close",
              act: () => root.window.close() },
            { kind: "minimize", fill: Theme.windowMinimizeLight, glyph: "qrc:/icons/window-minimize.svg", zh: "最小化", en: "Minimize",
              act: () => root.window.showMinimized() },
            { kind: "zoom", fill: Theme.windowZoomLight, glyph: "qrc:/icons/window-zoom.svg", zh: "缩放", en: "Zoom",
              act: () => root.window.visibility === Window.Maximized ? root.window.showNormal()
                                                                     : root.window.showMaximized() }
        ]
        delegate: AbstractButton {
            id: light
            required property var modelData
            objectName: "windowButton_" + modelData.kind
            width: 12
            height: 12
            focusPolicy: Qt.NoFocus
            Accessible.name: Theme.t(modelData.zh, modelData.en)
            onClicked: modelData.act()
            background: Rectangle {
                radius: width / 2
                color: light.down ? Qt.darker(light.modelData.fill, 1.15) : light.modelData.fill
                border.color: Theme.windowLightStroke
            }
            contentItem: Glyph {
                visible: hover.hovered
                source: light.modelData.glyph
                size: 12
                opacity: 0.75
            }
        }
    }
}
