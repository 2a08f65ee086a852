import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The first-run questionnaire, covering the whole window until "Start studying" goes through.
// Escape does not close it; Tab moves through the answers and buttons.
FocusScope {
    id: view
    // The answers are saved; `openLibrary` asks for the Library next.
    signal finished(bool openLibrary)

    readonly property var stepSymbols: ({
        interests: "sparkles",
        level: "graduationcap.fill",
        goals: "checkmark.bubble",
        time: "hourglass",
        style: "book.pages",
        ready: "sparkles"
    })

    focus: true
    Keys.onEscapePressed: (event) => event.accepted = true

    OnboardingFlowModel {
        id: flow
        reduceMotion: MotionSettings.reduceMotion
        onFinished: (openLibrary) => view.finished(openLibrary)
        onAnnouncement: (text) => status.text = text
        onStepChanged: {
            scroller.contentY = 0
            // After the answers of the new step are built.
            Qt.callLater(view.focusFirst)
        }
    }

    // Nothing under the cover takes clicks or wheel turns.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: (wheel) => wheel.accepted = true
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.color.background
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.color.accentSoft }
            GradientStop { position: 0.45; color: Theme.color.background }
        }
    }

    // Read by assistive technology when the question changes or finishing fails.
    // Kept on screen (one transparent pixel) so that it stays in the accessibility tree.
    Text {
        id: status
        width: 1
        height: 1
        clip: true
        color: "transparent"
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
    }

    ColumnLayout {
        id: page
        width: Math.min(parent.width - Theme.spacing.xxxl * 2, 760)
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.topMargin: Theme.spacing.xl
        anchors.bottomMargin: Theme.spacing.xl
        spacing: Theme.spacing.l

        // Back, where we are, and the brand.
        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.m
            SecondaryButton {
                id: backButton
                plain: true
                text: "Back"
                enabled: flow.canGoBack
                opacity: flow.stepIndex > 0 ? 1 : 0
                activeFocusOnTab: flow.canGoBack
                Accessible.description: "Return to the previous question"
                onClicked: flow.back()
            }
            Item { Layout.fillWidth: true }
            Text {
                text: flow.progressText
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                font.weight: Font.Medium
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            BrandMark { size: 28 }
        }

        // One segment per question; all filled on the summary.
        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.xs
            Accessible.ignored: true
            Repeater {
                model: 5
                delegate: Rectangle {
                    required property int index
                    Layout.fillWidth: true
                    implicitHeight: 4
                    radius: 2
                    color: index <= flow.stepIndex ? Theme.color.accent : Theme.color.separator
                    Behavior on color { ColorAnimation { duration: Theme.motion.standard } }
                }
            }
        }

        // The question.
        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: Theme.spacing.m
            spacing: Theme.spacing.l
            Rectangle {
                Layout.alignment: Qt.AlignTop
                implicitWidth: 48
                implicitHeight: 48
                radius: Theme.radius.medium
                color: Theme.color.accentSoft
                SymbolIcon {
                    anchors.centerIn: parent
                    symbol: view.stepSymbols[flow.step]
                    tint: Theme.color.accent
                    size: 24
                }
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.xs
                Text {
                    objectName: "onboardingTitle"
                    Layout.fillWidth: true
                    text: flow.title
                    wrapMode: Text.WordWrap
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.largeTitle
                    font.weight: Font.Bold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    text: flow.subtitle
                    wrapMode: Text.WordWrap
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.body
                    lineHeight: 1.15
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    Layout.topMargin: Theme.spacing.xs
                    text: flow.hint
                    color: Theme.color.accent
                    font.pixelSize: Theme.font.caption
                    font.weight: Font.Medium
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }

        // The answers.
        Flickable {
            id: scroller
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            contentWidth: width
            contentHeight: body.implicitHeight
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {
                policy: scroller.contentHeight > scroller.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
            }

            Item {
                id: body
                width: scroller.width - Theme.spacing.l
                implicitHeight: flow.step === "interests" ? chips.implicitHeight
                              : flow.step === "ready" ? readySummary.implicitHeight
                              : options.implicitHeight

                InterestChipsView {
                    id: chips
                    width: parent.width
                    visible: flow.step === "interests"
                    selectedNames: flow.interests
                    onToggled: (name) => flow.toggleInterest(name)
                }

                GridLayout {
                    id: options
                    width: parent.width
                    visible: flow.step !== "interests" && flow.step !== "ready"
                    columns: 2
                    columnSpacing: Theme.spacing.m
                    rowSpacing: Theme.spacing.m
                    Repeater {
                        id: optionCards
                        model: flow.options
                        delegate: OnboardingOptionCard {
                            required property var modelData
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            text: modelData.label
                            detail: modelData.detail
                            selected: flow.selectedValues.indexOf(modelData.value) >= 0
                            multiple: !flow.isSingleChoice
                            enabled: !flow.isFinishing
                            // The step may change as a result; let the click end first.
                            onClicked: {
                                const value = modelData.value
                                if (flow.isSingleChoice)
                                    Qt.callLater(() => flow.choose(value))
                                else
                                    flow.toggleGoal(value)
                            }
                        }
                    }
                }

                OnboardingSummary {
                    id: readySummary
                    width: parent.width
                    visible: flow.step === "ready"
                    flow: flow
                }
            }
        }

        InlineErrorView {
            Layout.fillWidth: true
            message: flow.errorMessage
        }

        // What moves the flow on.
        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.m

            Text {
                Layout.fillWidth: true
                visible: flow.showSlowHint
                text: flow.slowHint
                wrapMode: Text.WordWrap
                color: Theme.color.textTertiary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Item { Layout.fillWidth: true; visible: !flow.showSlowHint }

            BusyIndicator {
                visible: flow.isFinishing
                running: visible
                implicitWidth: 28
                implicitHeight: 28
                Accessible.name: "Saving your answers"
            }
            SecondaryButton {
                id: skipButton
                visible: flow.step === "interests" && flow.interests.length === 0
                text: "Skip"
                Accessible.description: "Move on without picking interests"
                Keys.onReturnPressed: clicked()
                onClicked: flow.continueToNext()
            }
            PrimaryButton {
                id: continueButton
                visible: flow.step === "interests" || flow.step === "goals"
                enabled: flow.canContinue && (flow.step !== "interests" || flow.interests.length > 0)
                text: "Continue"
                Keys.onReturnPressed: clicked()
                onClicked: flow.continueToNext()
            }
            PrimaryButton {
                id: startButton
                visible: flow.step === "ready"
                enabled: !flow.isFinishing
                text: "Start studying"
                symbol: "sparkles"
                Accessible.description: "Save your answers and open Orbelo"
                Keys.onReturnPressed: clicked()
                onClicked: flow.startStudying()
            }
        }
    }

    // Puts the keyboard on the first thing to answer on each step.
    function focusFirst() {
        if (flow.step === "ready") {
            startButton.forceActiveFocus()
            return
        }
        const first = flow.step === "interests" ? chips.nextItemInFocusChain(true) : optionCards.itemAt(0)
        if (first)
            first.forceActiveFocus()
    }

    // Scrolls the answers so that the item with the keyboard is in sight.
    function reveal(item) {
        let inside = item
        while (inside && inside !== body)
            inside = inside.parent
        if (!inside)
            return
        const top = item.mapToItem(body, 0, 0).y
        if (top < scroller.contentY)
            scroller.contentY = Math.max(0, top - Theme.spacing.s)
        else if (top + item.height > scroller.contentY + scroller.height)
            scroller.contentY = top + item.height - scroller.height + Theme.spacing.s
    }

    Connections {
        target: view.Window.window
        function onActiveFocusItemChanged() { view.reveal(view.Window.activeFocusItem) }
    }

    Component.onCompleted: {
        status.text = flow.progressText + ". " + flow.title
        Qt.callLater(focusFirst)
    }
}
