import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels
import OrbeloMedia

// The reading guide of a course, or of one of its documents: the style menu, then the guide section
// by section (before you read, Cornell notes, key concepts, vocabulary, comprehension questions,
// after you read, reading time), or the offer to write one. Sections the guide lacks are not shown.
// Escape asks to close.
FocusScope {
    id: view
    property alias courseId: guide.courseId
    property alias documentId: guide.documentId
    property alias title: guide.title
    // Whether the read-aloud player is reading these Cornell notes now (this view started it).
    property bool startedReading: false
    readonly property bool speaking: startedReading && ReadAloudPlayer.isSpeaking
    readonly property bool busy: guide.isLoading || guide.isGenerating

    signal closeRequested()

    focus: true
    Keys.onEscapePressed: view.closeRequested()
    Component.onCompleted: guide.load()
    Component.onDestruction: stopReading()
    Refreshable.onRequested: guide.load()
    Refreshable.enabled: !view.busy

    function stopReading() {
        if (startedReading)
            ReadAloudPlayer.stop()
        startedReading = false
    }
    function toggleReading() {
        if (speaking) {
            stopReading()
        } else {
            startedReading = true
            ReadAloudPlayer.speak(guide.cornellReadAloudText())
        }
    }

    ReadingGuideModel {
        id: guide
        onPlanChanged: view.stopReading()
    }

    ScrollView {
        id: scroll
        anchors.fill: parent
        contentWidth: availableWidth
        clip: true

        FocusReveal { view: scroll }

        ColumnLayout {
            width: Math.min(scroll.availableWidth - Theme.spacing.xl * 2, 800)
            x: Theme.spacing.xl
            spacing: Theme.spacing.l

            Item { Layout.preferredHeight: Theme.spacing.xs }

            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.m
                Text {
                    Layout.fillWidth: true
                    text: "Reading guide" + (guide.title.length > 0 ? " · " + guide.title : "")
                    elide: Text.ElideRight
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.title
                    font.weight: Font.Bold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    visible: guide.estimatedTimeText.length > 0
                    text: guide.estimatedTimeText
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                    Accessible.role: Accessible.StaticText
                    Accessible.name: "Estimated reading time " + text
                }
                RefreshButton {
                    enabled: view.Refreshable.enabled
                    onClicked: view.Refreshable.requested()
                }
                SecondaryButton {
                    text: "Close"
                    Accessible.description: "Closes the reading guide."
                    onClicked: view.closeRequested()
                }
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.m
                ComboBox {
                    id: styleMenu
                    Layout.preferredWidth: 320
                    model: guide.templates
                    textRole: "label"
                    valueRole: "value"
                    currentIndex: guide.templates.findIndex(option => option.value === guide.selectedTemplate)
                    displayText: "Reading guide style: " + guide.templateLabel
                    onActivated: guide.selectedTemplate = currentValue
                    Accessible.name: "Guided reading template"
                    Accessible.description: "Reading guide style: " + guide.templateLabel
                }
                Item { Layout.fillWidth: true }
                SecondaryButton {
                    visible: guide.hasPlan
                    text: guide.isGenerating ? "Generating…" : "Regenerate guide"
                    enabled: !view.busy
                    Accessible.description: "Writes this reading guide again from the text."
                    onClicked: guide.regenerate()
                }
            }

            InlineErrorView {
                Layout.fillWidth: true
                message: guide.errorText
            }

            ColumnLayout {
                Layout.fillWidth: true
                visible: view.busy
                spacing: Theme.spacing.s
                Text {
                    Layout.fillWidth: true
                    text: guide.loadingText
                    wrapMode: Text.WordWrap
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    text: "This can take up to a minute the first time."
                    wrapMode: Text.WordWrap
                    color: Theme.color.textTertiary
                    font.pixelSize: Theme.font.callout
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                SkeletonRows {
                    Layout.fillWidth: true
                    rows: 4
                    accessibleName: guide.loadingText
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                visible: !view.busy && !guide.hasPlan
                spacing: Theme.spacing.m
                EmptyStateView {
                    Layout.fillWidth: true
                    implicitHeight: 220
                    Layout.preferredHeight: implicitHeight
                    symbol: "book.pages"
                    title: "No reading guide yet"
                    message: guide.emptyText
                }
                PrimaryButton {
                    Layout.alignment: Qt.AlignHCenter
                    text: "Generate reading guide"
                    symbol: "sparkles"
                    enabled: !view.busy
                    Accessible.description: guide.emptyText
                    onClicked: guide.regenerate()
                }
            }

            ReadingGuideSection {
                Layout.fillWidth: true
                visible: guide.hasPlan && !view.busy && guide.learningObjectives.length > 0
                title: "Before you read"
                ReadingGuideList {
                    Layout.fillWidth: true
                    heading: "Learning objectives"
                    items: guide.learningObjectives
                }
            }

            ReadingGuideSection {
                Layout.fillWidth: true
                visible: guide.hasPlan && !view.busy && guide.cornellCues.length > 0
                title: "Cornell notes"
                RowLayout {
                    Layout.fillWidth: true
                    spacing: Theme.spacing.s
                    SecondaryButton {
                        text: view.speaking ? "Stop reading notes" : "Read notes aloud"
                        Accessible.description: view.speaking ? "Stops reading the Cornell notes aloud."
                                                              : "Reads each cue and its note aloud."
                        onClicked: view.toggleReading()
                    }
                    Item { Layout.fillWidth: true }
                    SecondaryButton {
                        plain: true
                        text: "Regenerate notes"
                        enabled: !view.busy
                        Accessible.description: "Writes this reading guide again, with new Cornell notes."
                        onClicked: guide.regenerate()
                    }
                }
                GridLayout {
                    Layout.fillWidth: true
                    columns: 2
                    columnSpacing: Theme.spacing.l
                    rowSpacing: Theme.spacing.s
                    Text {
                        Layout.preferredWidth: 1
                        Layout.fillWidth: true
                        text: "Cues & questions"
                        color: Theme.color.textSecondary
                        font.pixelSize: Theme.font.headline
                        font.weight: Font.DemiBold
                        Accessible.role: Accessible.Heading
                        Accessible.name: text
                    }
                    Text {
                        Layout.preferredWidth: 2
                        Layout.fillWidth: true
                        text: "Notes"
                        color: Theme.color.textSecondary
                        font.pixelSize: Theme.font.headline
                        font.weight: Font.DemiBold
                        Accessible.role: Accessible.Heading
                        Accessible.name: text
                    }
                    Repeater {
                        model: guide.cornellCues.length * 2
                        delegate: Text {
                            required property int index
                            readonly property bool isCue: index % 2 === 0
                            readonly property int row: Math.floor(index / 2)
                            Layout.preferredWidth: isCue ? 1 : 2
                            Layout.fillWidth: true
                            Layout.alignment: Qt.AlignTop
                            text: isCue ? guide.cornellCues[row] : (guide.cornellNotes[row] || "")
                            wrapMode: Text.WordWrap
                            color: isCue ? Theme.color.accent : Theme.color.textPrimary
                            font.pixelSize: Theme.font.body
                            font.weight: isCue ? Font.Medium : Font.Normal
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
                        }
                    }
                }
            }

            ReadingGuideSection {
                Layout.fillWidth: true
                visible: guide.hasPlan && !view.busy && guide.keyConcepts.length > 0
                title: "Key concepts"
                ReadingGuideList {
                    Layout.fillWidth: true
                    items: guide.keyConcepts
                }
            }

            ReadingGuideSection {
                Layout.fillWidth: true
                visible: guide.hasPlan && !view.busy && guide.vocabulary.length > 0
                title: "Vocabulary"
                SecondaryButton {
                    visible: guide.vocabularyCards.length > 0
                    text: "Study as flashcards"
                    Accessible.description: "Study this vocabulary as flippable flashcards."
                    onClicked: vocabularyWalk.open()
                }
                Repeater {
                    model: guide.vocabulary
                    delegate: ColumnLayout {
                        required property var modelData
                        Layout.fillWidth: true
                        spacing: Theme.spacing.xxs
                        Text {
                            Layout.fillWidth: true
                            text: "<b>" + modelData.term + "</b> — " + modelData.definition
                            textFormat: Text.StyledText
                            wrapMode: Text.WordWrap
                            color: Theme.color.textPrimary
                            font.pixelSize: Theme.font.body
                            Accessible.role: Accessible.StaticText
                            Accessible.name: modelData.term + ": " + modelData.definition
                        }
                        Text {
                            Layout.fillWidth: true
                            visible: modelData.context.length > 0
                            text: "“" + modelData.context + "”"
                            wrapMode: Text.WordWrap
                            color: Theme.color.textTertiary
                            font.pixelSize: Theme.font.callout
                            font.italic: true
                            Accessible.role: Accessible.StaticText
                            Accessible.name: "In the text: " + modelData.context
                        }
                    }
                }
            }

            ReadingGuideSection {
                Layout.fillWidth: true
                visible: guide.hasPlan && !view.busy && guide.questions.length > 0
                title: "Check your understanding"
                Repeater {
                    model: guide.questions
                    delegate: ReadingGuideQuestionRow {
                        required property var modelData
                        required property int index
                        Layout.fillWidth: true
                        number: index + 1
                        question: modelData.question
                        answer: modelData.answer
                    }
                }
            }

            ReadingGuideSection {
                Layout.fillWidth: true
                visible: guide.hasPlan && !view.busy && (guide.connections.length > 0 || guide.actionItems.length > 0
                                                         || guide.readingTips.length > 0)
                title: "After you read"
                Text {
                    Layout.fillWidth: true
                    visible: guide.connections.length > 0
                    text: "Connections"
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    visible: guide.connections.length > 0
                    text: guide.connections
                    wrapMode: Text.WordWrap
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.body
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                ReadingGuideList {
                    Layout.fillWidth: true
                    heading: "Action items"
                    items: guide.actionItems
                }
                ReadingGuideList {
                    Layout.fillWidth: true
                    heading: "Reading tips"
                    items: guide.readingTips
                }
            }

            Item { Layout.preferredHeight: Theme.spacing.xl }
        }
    }

    FlashcardWalkSheet {
        id: vocabularyWalk
        title: (guide.title.length > 0 ? guide.title : "Reading guide") + " · Vocabulary"
        cards: guide.vocabularyCards
    }
}
