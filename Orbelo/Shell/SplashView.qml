import QtQuick
import DesignKit

// The brand mark and the product name, revealed with a short animation unless motion is reduced.
Rectangle {
    id: splash
    property bool revealed: Theme.motion.reduce

    color: Theme.color.background
    Accessible.role: Accessible.Pane
    Accessible.name: "Orbelo"

    // Swallow input while the splash covers the window.
    MouseArea { anchors.fill: parent; hoverEnabled: true }

    Column {
        anchors.centerIn: parent
        spacing: Theme.spacing.l
        opacity: splash.revealed ? 1 : 0
        scale: splash.revealed ? 1 : 0.92
        Behavior on opacity { enabled: !Theme.motion.reduce; NumberAnimation { duration: 350; easing.type: Easing.OutCubic } }
        Behavior on scale { enabled: !Theme.motion.reduce; NumberAnimation { duration: 450; easing.type: Easing.OutBack } }

        BrandMark {
            anchors.horizontalCenter: parent.horizontalCenter
            size: 96
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Orbelo"
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.largeTitle + 6
            font.weight: Font.Bold
            Accessible.ignored: true
        }
    }

    Timer {
        interval: 50
        running: !splash.revealed
        onTriggered: splash.revealed = true
    }
}
