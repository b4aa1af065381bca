import QtQuick
import Kelvo 1.0

// Squarified treemap layout: splits a w × h rectangle into one tile per value, each with an area in
// proportion to its value and as close to square as the order allows. Values come largest first;
// the tiles come back in the same order as {x, y, width, height}.
QtObject {
    function worstRatio(areas, side) {
        let sum = 0
        let largest = 0
        let smallest = Infinity
        for (const area of areas) {
            sum += area
            largest = Math.max(largest, area)
            smallest = Math.min(smallest, area)
        }
        const sideSquared = side * side
        return Math.max(sideSquared * largest / (sum * sum), (sum * sum) / (sideSquared * smallest))
    }

    function squarify(values, width, height) {
        const tiles = []
        let total = 0
        for (const value of values)
            total += value
        if (width <= 0 || height <= 0 || total <= 0)
            return values.map(() => ({ x: 0, y: 0, width: 0, height: 0 }))

        const scale = width * height / total
        const areas = values.map(value => value * scale)
        let left = 0
        let top = 0
        let freeWidth = width
        let freeHeight = height
        let next = 0
        while (next < areas.length) {
            const side = Math.min(freeWidth, freeHeight)
            const strip = [areas[next]]
            let end = next + 1
            while (end < areas.length
                   && worstRatio(strip.concat([areas[end]]), side) <= worstRatio(strip, side)) {
                strip.push(areas[end])
                ++end
            }
            const stripArea = strip.reduce((sum, area) => sum + area, 0)
            if (freeWidth >= freeHeight) {
                // A column along the left edge of the free space.
                const columnWidth = end === areas.length ? freeWidth : stripArea / freeHeight
                let y = top
                for (const area of strip) {
                    const tileHeight = area / columnWidth
                    tiles.push({ x: left, y: y, width: columnWidth, height: tileHeight })
                    y += tileHeight
                }
                left += columnWidth
                freeWidth -= columnWidth
            } else {
                // A row along the top edge of the free space.
                const rowHeight = end === areas.length ? freeHeight : stripArea / freeWidth
                let x = left
                for (const area of strip) {
                    const tileWidth = area / rowHeight
                    tiles.push({ x: x, y: top, width: tileWidth, height: rowHeight })
                    x += tileWidth
                }
                top += rowHeight
                freeHeight -= rowHeight
            }
            next = end
        }
        return tiles
    }
}
