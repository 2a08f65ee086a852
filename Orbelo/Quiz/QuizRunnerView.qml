import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// Taking the quiz: one question at a time with its options or an answer field. Keys: 1–4 or A–D
// choose an option, T and F answer true/false, Enter moves on, Ctrl+Enter finishes. A fill-in
// question puts the focus in its field.
FocusScope {
    id: view
    required property QuizRunner runner
    signal cancelRequested()

    function focusAnswer() {
        if (view.runner.isFillIn)
            answerField.forceActiveFocus()
        else
            view.forceActiveFocus()
    }
    function moveOn(event) {
        if (event.modifiers & Qt.ControlModifier)
            view.runner.finish()
        else
            view.runner.next()
        event.accepted = true
    }

    Connections {
        target: view.runner
        function onQuestionChanged() { view.focusAnswer() }
    }
    Component.onCompleted: focusAnswer()
    onActiveFocusChanged: if (activeFocus) focusAnswer()

    Keys.onReturnPressed: event => moveOn(event)
    Keys.onEnterPressed: event => moveOn(event)
    Keys.onPressed: event => {
        const position = view.runner.optionForKey(event.key, event.text)
        if (position < 0)
            return
        view.runner.choose(position)
        event.accepted = true
    }

    ScrollView {
        anchors.fill: parent
        contentWidth: availableWidth
        clip: true

        ColumnLayout {
            width: Math.min(view.width - Theme.spacing.xxl * 2, 720)
            x: Math.max(Theme.spacing.xxl, (view.width - width) / 2)
            spacing: Theme.spacing.l

            Item { Layout.preferredHeight: Theme.spacing.xs }

            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.m
                Text {
                    text: view.runner.header
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    text: view.runner.difficultyLabel
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                SecondaryButton {
                    plain: true
                    text: "Cancel"
                    Accessible.description: "Leaves this quiz for the setup."
                    onClicked: view.cancelRequested()
                }
            }

            Text {
                Layout.fillWidth: true
                visible: text !== ""
                text: view.runner.note
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            ProgressBar {
                id: progress
                Layout.fillWidth: true
                from: 0
                to: Math.max(1, view.runner.count)
                value: view.runner.index + 1
                Accessible.name: view.runner.header
                background: Rectangle {
                    implicitHeight: 6
                    radius: 3
                    color: Theme.color.raised
                }
                contentItem: Item {
                    implicitHeight: 6
                    Rectangle {
                        width: progress.visualPosition * parent.width
                        height: parent.height
                        radius: 3
                        color: Theme.color.accent
                        Behavior on width { NumberAnimation { duration: Theme.motion.standard } }
                    }
                }
            }

            Text {
                Layout.fillWidth: true
                text: view.runner.questionText
                wrapMode: Text.WordWrap
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title2
                font.weight: Font.Medium
                lineHeight: 1.15
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            ColumnLayout {
                Layout.fillWidth: true
                visible: !view.runner.isFillIn
                spacing: Theme.spacing.s
                Accessible.role: Accessible.Grouping
                Accessible.name: "Answers"
                Repeater {
                    model: view.runner.options
                    QuizOptionButton {
                        required property string modelData
                        required property int index
                        Layout.fillWidth: true
                        position: index
                        text: modelData
                        selected: view.runner.chosenOption === index
                        onClicked: view.runner.choose(index)
                    }
                }
            }

            TextField {
                id: answerField
                Layout.fillWidth: true
                visible: view.runner.isFillIn
                implicitHeight: 44
                leftPadding: Theme.spacing.m
                font.pixelSize: Theme.font.body
                color: Theme.color.textPrimary
                placeholderText: "Type your answer"
                placeholderTextColor: Theme.color.textTertiary
                selectByMouse: true
                text: view.runner.answer
                onTextEdited: view.runner.answer = text
                Keys.onReturnPressed: event => view.moveOn(event)
                Keys.onEnterPressed: event => view.moveOn(event)
                Accessible.name: "Type your answer"
                // TextField puts its placeholder in the description once accessibility is on.
                Component.onCompleted: Accessible.description = "Your answer"
                background: Rectangle {
                    radius: Theme.radius.medium
                    color: Theme.color.surface
                    border.width: answerField.activeFocus ? 2 : 1
                    border.color: answerField.activeFocus ? Theme.color.focusRing : Theme.color.separator
                }
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.m
                SecondaryButton {
                    text: "Previous"
                    enabled: view.runner.canGoBack
                    Accessible.description: "Moves to the previous question."
                    onClicked: view.runner.previous()
                }
                Item { Layout.fillWidth: true }
                PrimaryButton {
                    text: view.runner.isLast ? "Finish quiz" : "Next"
                    Accessible.description: view.runner.isLast
                                            ? "Submits your quiz and shows your score. Shortcut: Enter."
                                            : "Moves to the next question. Shortcut: Enter; Ctrl+Enter finishes the quiz."
                    onClicked: view.runner.next()
                }
            }
        }
    }
}
