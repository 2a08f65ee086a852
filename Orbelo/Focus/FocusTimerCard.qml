import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The focus timer on the Study tab: its state in a line or two; clicking it (or Return or Space
// while it has the focus) opens the full timer.
StudyCard {
    id: card
    required property PomodoroTimer timer
    readonly property bool idle: timer.status === PomodoroTimer.Idle
    signal openRequested()

    title: "Focus timer"
    symbol: "hourglass"
    activeFocusOnTab: true
    border.color: activeFocus ? Theme.color.focusRing : Theme.color.separator
    border.width: activeFocus ? 2 : 1
    Accessible.role: Accessible.Button
    Accessible.name: idle ? "Focus timer, not running"
                          : "Focus timer, " + timer.phaseLabel + ", " + timer.remainingText + " remaining"
                            + (timer.status === PomodoroTimer.Paused ? ", paused" : "")
    Accessible.description: "Opens the focus timer."
    Accessible.onPressAction: card.openRequested()
    Keys.onReturnPressed: card.openRequested()
    Keys.onEnterPressed: card.openRequested()
    Keys.onSpacePressed: card.openRequested()

    TapHandler { onTapped: card.openRequested() }
    HoverHandler { cursorShape: Qt.PointingHandCursor }

    RowLayout {
        Layout.fillWidth: true
        spacing: Theme.spacing.m
        Text {
            visible: !card.idle
            text: card.timer.remainingText
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title
            font.weight: Font.DemiBold
            Accessible.ignored: true
        }
        Text {
            Layout.fillWidth: true
            text: card.idle ? "Not running"
                            : card.timer.phaseLabel + (card.timer.status === PomodoroTimer.Paused ? " · Paused" : "")
            color: card.idle ? Theme.color.textSecondary : Theme.color.accent
            font.pixelSize: Theme.font.headline
            font.weight: Font.Medium
            Accessible.ignored: true
        }
    }
    Text {
        Layout.fillWidth: true
        text: card.timer.summary
        wrapMode: Text.WordWrap
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.callout
        Accessible.ignored: true
    }
    Text {
        Layout.fillWidth: true
        text: "Click to open"
        color: Theme.color.accent
        font.pixelSize: Theme.font.caption
        Accessible.ignored: true
    }
}
