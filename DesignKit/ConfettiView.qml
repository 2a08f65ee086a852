import QtQuick

// A short celebratory burst: call fire() and small rotated pieces in the theme's colours fly up and
// fall away under gravity for about 1.5 s, then are destroyed. With reduced motion it shows nothing.
// Purely decorative: place it above the content; it takes no input, no focus and is hidden from
// accessibility tools.
Item {
    id: confetti
    property int pieceCount: 60
    readonly property int duration: 1500
    readonly property bool active: fall.running

    // Time into the burst in seconds; every piece is positioned from it.
    property real elapsed: 0

    readonly property var palette: [Theme.color.accent, Theme.color.focusRing, Theme.color.accentHover,
        Theme.color.success, Theme.color.danger]

    clip: true
    enabled: false
    activeFocusOnTab: false
    Accessible.ignored: true

    function fire() {
        fall.stop()
        pieces.model = 0
        if (Theme.motion.reduce || width <= 0 || height <= 0)
            return
        elapsed = 0
        pieces.model = pieceCount
        fall.start()
    }

    readonly property bool reduce: Theme.motion.reduce
    onReduceChanged: if (reduce) fall.stop()

    NumberAnimation {
        id: fall
        target: confetti
        property: "elapsed"
        from: 0
        to: confetti.duration / 1000
        duration: confetti.duration
        onRunningChanged: if (!running) pieces.model = 0
    }

    Repeater {
        id: pieces
        model: 0
        delegate: Rectangle {
            id: piece
            required property int index
            // Launched from a point above the middle, spreading sideways; gravity is scaled to the
            // view so every piece has left the bottom edge, or faded, by the end of the burst.
            readonly property real startX: confetti.width * (0.35 + Math.random() * 0.3)
            readonly property real startY: confetti.height * 0.35
            readonly property real velocityX: confetti.width * (Math.random() - 0.5) * 1.2
            readonly property real velocityY: -confetti.height * (0.4 + Math.random() * 0.8)
            readonly property real gravity: confetti.height * 2.2
            readonly property real spin: (Math.random() - 0.5) * 1440
            readonly property real t: confetti.elapsed
            readonly property real progress: t * 1000 / confetti.duration

            width: 6 + Math.random() * 6
            height: width * 0.45
            radius: 1
            color: confetti.palette[index % confetti.palette.length]
            x: startX + velocityX * t
            y: startY + velocityY * t + 0.5 * gravity * t * t
            rotation: index * 37 + spin * t
            opacity: progress < 0.7 ? 1 : Math.max(0, (1 - progress) / 0.3)
        }
    }
}
