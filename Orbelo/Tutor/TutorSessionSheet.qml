import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// "Tutor Session": pick a course, then one 30-minute guided flow from its material — the reading
// guide's questions, the due cards, a short quiz — with the time left and the step always shown,
// and a summary at the end. Escape closes it only before the session starts or after it ends.
//
//     TutorSessionSheet { id: tutor }   ...   tutor.openFor(userRewardId)
Popup {
    id: sheet
    property string userRewardId
    property string courseId
    // Closed after a session was started: the owner may reload its rewards.
    signal finished()

    function openFor(rewardId) {
        userRewardId = rewardId
        session.reset()
        session.loadCourses()
        open()
    }

    readonly property bool running: session.phase !== "choose" && session.phase !== "summary"

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(720, parent ? parent.width - Theme.spacing.xxl * 2 : 720)
    height: Math.min(column.implicitHeight + padding * 2, parent ? parent.height - Theme.spacing.xxl * 2 : 760)
    padding: Theme.spacing.xl
    modal: true
    focus: true
    closePolicy: running ? Popup.NoAutoClose : Popup.CloseOnEscape
    onClosed: if (session.phase === "summary") finished()

    TutorSessionModel { id: session }

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
    }

    Flickable {
        id: flickable
        anchors.fill: parent
        contentHeight: column.implicitHeight
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        ColumnLayout {
            id: column
            width: flickable.width
            spacing: Theme.spacing.m
            Accessible.role: Accessible.Dialog
            Accessible.name: "Tutor Session"

            RowLayout {
                Layout.fillWidth: true
                Text {
                    Layout.fillWidth: true
                    text: session.courseName.length > 0 && session.phase !== "choose"
                          ? "Tutor Session · " + session.courseName : "Tutor Session"
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.title2
                    font.weight: Font.Bold
                    elide: Text.ElideRight
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    visible: session.phase !== "choose" && session.phase !== "starting"
                    text: session.remainingText + " left"
                    color: Theme.color.accent
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.StaticText
                    Accessible.name: "Time left: " + session.remainingText
                }
            }

            // The course choice.
            ColumnLayout {
                Layout.fillWidth: true
                visible: session.phase === "choose" || session.phase === "starting"
                spacing: Theme.spacing.s
                Text {
                    Layout.fillWidth: true
                    text: "Pick a course. For 30 minutes Orbelo walks you through its reading-guide "
                          + "questions, your due cards and a short quiz, then sums up how it went."
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.body
                    wrapMode: Text.WordWrap
                }
                ComboBox {
                    id: coursePicker
                    Layout.fillWidth: true
                    model: session.courses
                    textRole: "label"
                    valueRole: "id"
                    enabled: session.phase === "choose"
                    displayText: currentIndex >= 0 ? currentText : "Select a course…"
                    onActivated: sheet.courseId = currentValue
                    onCountChanged: if (count > 0 && currentIndex < 0) {
                        currentIndex = 0
                        sheet.courseId = valueAt(0)
                    }
                    Accessible.name: "Course"
                }
                PrimaryButton {
                    text: session.busy ? "Preparing your session…" : "Start Tutor Session"
                    enabled: !session.busy && sheet.courseId.length > 0
                    Accessible.description: "Spends the reward's use and starts the 30-minute clock."
                    onClicked: session.start(sheet.userRewardId, sheet.courseId)
                }
            }

            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: session.errorMessage
                color: Theme.color.danger
                font.pixelSize: Theme.font.callout
                wrapMode: Text.WordWrap
                Accessible.role: Accessible.AlertMessage
                Accessible.name: text
            }

            // The running step.
            ColumnLayout {
                Layout.fillWidth: true
                visible: session.phase === "questions" || session.phase === "cards" || session.phase === "quiz"
                spacing: Theme.spacing.s
                Text {
                    text: session.stepText + " · " + session.positionText
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    text: session.prompt
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    wrapMode: Text.WordWrap
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                Rectangle {
                    Layout.fillWidth: true
                    visible: session.answerShown
                    implicitHeight: answerText.implicitHeight + Theme.spacing.m * 2
                    radius: Theme.radius.medium
                    color: Theme.color.raised
                    Text {
                        id: answerText
                        anchors.fill: parent
                        anchors.margins: Theme.spacing.m
                        text: session.answer
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.body
                        wrapMode: Text.WordWrap
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                }
                Flow {
                    Layout.fillWidth: true
                    spacing: Theme.spacing.s
                    SecondaryButton {
                        visible: session.phase !== "quiz" && !session.answerShown
                        text: session.phase === "cards" ? "Show back" : "Show answer"
                        onClicked: session.showAnswer()
                    }
                    PrimaryButton {
                        visible: session.phase === "questions"
                        text: "Next"
                        onClicked: session.next()
                    }
                    Repeater {
                        model: session.phase === "cards" && session.answerShown ? ["Again", "Hard", "Good", "Easy"] : []
                        SecondaryButton {
                            required property string modelData
                            required property int index
                            text: modelData
                            onClicked: session.rate(index)
                        }
                    }
                }
                Repeater {
                    model: session.options
                    SecondaryButton {
                        required property string modelData
                        required property int index
                        Layout.fillWidth: true
                        text: modelData
                        onClicked: session.choose(index)
                    }
                }
                RowLayout {
                    Layout.fillWidth: true
                    SecondaryButton {
                        plain: true
                        text: "Skip this step"
                        onClicked: session.skipStep()
                    }
                    Item { Layout.fillWidth: true }
                    SecondaryButton {
                        plain: true
                        text: "End session"
                        onClicked: session.finish()
                    }
                }
            }

            // The summary.
            ColumnLayout {
                Layout.fillWidth: true
                visible: session.phase === "summary"
                spacing: Theme.spacing.s
                Text {
                    text: "Session summary"
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.Bold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Repeater {
                    model: session.summaryLines
                    Text {
                        required property string modelData
                        Layout.fillWidth: true
                        text: modelData
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.body
                        wrapMode: Text.WordWrap
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                }
            }

            RowLayout {
                Layout.fillWidth: true
                visible: !sheet.running
                Item { Layout.fillWidth: true }
                SecondaryButton {
                    text: "Close"
                    onClicked: sheet.close()
                }
            }
        }
    }
}
