import QtQuick
import DesignKit

// The score as a ring that fills to `fraction`, with the percent inside. It fills over a moment
// unless the desktop asks for reduced motion; a screen reader gets `spokenLabel`.
Item {
    id: ring
    property real fraction: 0
    property int percent: 0
    property string spokenLabel
    property real shown: 0

    implicitWidth: 168
    implicitHeight: 168
    Accessible.role: Accessible.Graphic
    Accessible.name: spokenLabel

    Component.onCompleted: shown = fraction
    onFractionChanged: shown = fraction
    Behavior on shown {
        enabled: !Theme.motion.reduce
        NumberAnimation { duration: 900; easing.type: Easing.OutCubic }
    }
    onShownChanged: canvas.requestPaint()

    Canvas {
        id: canvas
        anchors.fill: parent
        readonly property color track: Theme.color.raised
        readonly property color fill: ring.fraction >= 0.8 ? Theme.color.success : Theme.color.accent
        onTrackChanged: requestPaint()
        onFillChanged: requestPaint()
        onPaint: {
            const ctx = getContext("2d")
            const line = 14
            const radius = Math.min(width, height) / 2 - line / 2
            ctx.reset()
            ctx.lineWidth = line
            ctx.lineCap = "round"
            ctx.strokeStyle = track
            ctx.beginPath()
            ctx.arc(width / 2, height / 2, radius, 0, 2 * Math.PI)
            ctx.stroke()
            if (ring.shown <= 0)
                return
            ctx.strokeStyle = fill
            ctx.beginPath()
            ctx.arc(width / 2, height / 2, radius, -Math.PI / 2, -Math.PI / 2 + 2 * Math.PI * ring.shown)
            ctx.stroke()
        }
    }
    Text {
        anchors.centerIn: parent
        text: ring.percent + "%"
        color: Theme.color.textPrimary
        font.pixelSize: 36
        font.weight: Font.Bold
        Accessible.ignored: true
    }
}
