import QtQuick
import Kelvo 1.0

// The last minute of one or two rates as lines over a faint fill, scaled to the highest sample shown.
Canvas {
    id: root
    property var primary: []
    property var secondary: []
    property color primaryColor: Theme.accent
    property color secondaryColor: Theme.success

    implicitHeight: 40
    onPrimaryChanged: requestPaint()
    onSecondaryChanged: requestPaint()
    onPrimaryColorChanged: requestPaint()
    onSecondaryColorChanged: requestPaint()
    onWidthChanged: requestPaint()
    onAvailableChanged: requestPaint()

    onPaint: {
        const context = getContext("2d")
        context.reset()
        const all = (primary || []).concat(secondary || [])
        const top = Math.max(0.01, ...all)
        const capacity = 60
        const step = width / (capacity - 1)
        const draw = (values, colour, filled) => {
            if (!values || values.length < 2)
                return
            const x0 = width - (values.length - 1) * step
            context.beginPath()
            values.forEach((value, i) => {
                const x = x0 + i * step, y = height - 1 - (value / top) * (height - 2)
                if (i === 0)
                    context.moveTo(x, y)
                else
                    context.lineTo(x, y)
            })
            context.strokeStyle = colour
            context.lineWidth = 1.5
            context.stroke()
            if (filled) {
                context.lineTo(width, height)
                context.lineTo(x0, height)
                context.closePath()
                context.fillStyle = Theme.withAlpha(colour, 0.12)
                context.fill()
            }
        }
        draw(secondary, secondaryColor, false)
        draw(primary, primaryColor, true)
    }
}
