import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The full focus timer: the phase, the time left inside a ring that fills as the interval
// passes, its actions and the day's count. Space pauses and resumes; Escape goes back.
FocusScope {
    id: screen
    required property PomodoroTimer timer
    readonly property bool idle: timer.status === PomodoroTimer.Idle
    readonly property bool running: timer.status === PomodoroTimer.Running

    signal closeRequested()

    focus: true
    StackView.onActivating: forceActiveFocus()
    Keys.onSpacePressed: timer.togglePause()
    Keys.onEscapePressed: screen.closeRequested()

    component TimerAction: SecondaryButton {
        // Clicks leave the focus where it was, so Space keeps pausing and resuming afterwards.
        focusPolicy: Qt.TabFocus
    }

    SecondaryButton {
        x: Theme.spacing.xxl
        y: Theme.spacing.l
        plain: true
        focusPolicy: Qt.TabFocus
        text: "Back"
        Accessible.name: "Back to Study"
        onClicked: screen.closeRequested()
    }

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(screen.width - Theme.spacing.xxl * 2, 520)
        spacing: Theme.spacing.l

        Text {
            Layout.fillWidth: true
            text: screen.idle ? "Focus timer" : screen.timer.phaseLabel
            horizontalAlignment: Text.AlignHCenter
            color: screen.idle ? Theme.color.textPrimary : Theme.color.accent
            font.pixelSize: Theme.font.title
            font.weight: Font.Bold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        Item {
            id: dial
            Layout.alignment: Qt.AlignHCenter
            implicitWidth: 280
            implicitHeight: 280
            Accessible.role: Accessible.ProgressBar
            Accessible.name: screen.idle ? "Not running"
                                         : screen.timer.phaseLabel + ", " + screen.timer.remainingText + " remaining"
                                           + (screen.running ? "" : ", paused")

            PomodoroProgressRing {
                anchors.fill: parent
                progress: screen.timer.progress
                trackColor: Theme.color.raised
                fillColor: Theme.color.accent
            }
            Column {
                anchors.centerIn: parent
                spacing: Theme.spacing.xs
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: screen.timer.remainingText
                    color: Theme.color.textPrimary
                    font.pixelSize: 56
                    font.weight: Font.DemiBold
                    Accessible.ignored: true
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    visible: !screen.idle
                    text: screen.running ? "remaining" : "Paused"
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                    Accessible.ignored: true
                }
            }
        }

        Text {
            Layout.fillWidth: true
            text: screen.timer.summary
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.body
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            spacing: Theme.spacing.m

            PrimaryButton {
                visible: screen.idle
                focusPolicy: Qt.TabFocus
                text: "Start focus"
                Accessible.description: screen.timer.startHint
                onClicked: screen.timer.start()
            }
            PrimaryButton {
                visible: !screen.idle
                focusPolicy: Qt.TabFocus
                text: screen.running ? "Pause" : "Resume"
                Accessible.description: screen.running ? "Stops the clock until you resume. Space does the same."
                                                       : "Starts the clock again. Space does the same."
                onClicked: screen.timer.togglePause()
            }
            TimerAction {
                visible: !screen.idle
                text: "Skip"
                Accessible.description: "Ends this interval now and starts the next one."
                onClicked: screen.timer.skip()
            }
            TimerAction {
                visible: !screen.idle
                text: "Reset"
                Accessible.description: "Ends the session. Completed focus intervals are kept."
                onClicked: screen.timer.reset()
            }
        }

        Text {
            Layout.fillWidth: true
            visible: text.length > 0
            text: screen.timer.notificationsOffMessage
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            color: Theme.color.warning
            font.pixelSize: Theme.font.callout
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
