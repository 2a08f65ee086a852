import QtQuick

// A ring that fills clockwise from twelve o'clock as `progress` goes from 0 to 1. Each half of the
// fill is a half ring turned into its side of the circle through a clip, so the ring is drawn by
// the scene graph itself.
Item {
    id: ring
    property real progress
    property int lineWidth: 14
    property color trackColor
    property color fillColor

    component Band: Rectangle {
        width: ring.width
        height: ring.height
        radius: width / 2
        color: "transparent"
        border.width: ring.lineWidth
        antialiasing: true
    }

    Band { border.color: ring.trackColor }

    // The right side: the left half of a band, turned up to half a turn.
    Item {
        x: ring.width / 2
        width: ring.width / 2
        height: ring.height
        clip: true
        Item {
            x: -ring.width / 2
            width: ring.width
            height: ring.height
            rotation: 360 * Math.min(Math.max(ring.progress, 0), 0.5)
            Item {
                width: ring.width / 2
                height: ring.height
                clip: true
                Band { border.color: ring.fillColor }
            }
        }
    }
    // The left side: the right half of a band, turned once the first half is full.
    Item {
        width: ring.width / 2
        height: ring.height
        clip: true
        Item {
            width: ring.width
            height: ring.height
            rotation: 360 * Math.min(Math.max(ring.progress - 0.5, 0), 0.5)
            Item {
                x: ring.width / 2
                width: ring.width / 2
                height: ring.height
                clip: true
                Band {
                    x: -ring.width / 2
                    border.color: ring.fillColor
                }
            }
        }
    }
}
