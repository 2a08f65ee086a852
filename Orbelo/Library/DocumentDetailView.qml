import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The notes screen of a ready document: its study notes (summary, key concepts, key terms) or the
// offer to generate them, read-aloud of the notes, the entries to the narration of the whole reading
// and (for a document in a course) to its reading guide, and "Create mnemonic" for this document.
// Escape closes it.
FocusScope {
    id: view
    property alias documentId: notes.documentId
    property alias title: notes.title
    property alias courseId: notes.courseId
    // Whether the read-aloud player is reading these notes now.
    property bool speaking: false

    signal listenRequested(string text)
    signal stopListeningRequested()
    signal narrationRequested(string documentId, string title)
    signal closeRequested()

    focus: true
    Keys.onEscapePressed: view.closeRequested()
    Component.onCompleted: notes.appear()
    Refreshable.onRequested: notes.load()
    Refreshable.enabled: !notes.isLoading && !notes.isGenerating
    UnsavedWork.description: notes.isGenerating ? "the notes being written" : ""

    DocumentDetailModel { id: notes }

    ScrollView {
        id: scroll
        anchors.fill: parent
        contentWidth: availableWidth
        clip: true

        FocusReveal { view: scroll }

        ColumnLayout {
            width: Math.min(scroll.availableWidth - Theme.spacing.xxl * 2, 760)
            x: Theme.spacing.xxl
            spacing: Theme.spacing.l

            Item { Layout.preferredHeight: Theme.spacing.xs }

            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.m
                SecondaryButton {
                    plain: true
                    text: "Back"
                    Accessible.name: "Back to the library"
                    onClicked: view.closeRequested()
                }
                Text {
                    Layout.fillWidth: true
                    text: notes.title
                    elide: Text.ElideRight
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.title
                    font.weight: Font.Bold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                RefreshButton {
                    enabled: view.Refreshable.enabled
                    onClicked: view.Refreshable.requested()
                }
                SecondaryButton {
                    text: "Create mnemonic"
                    Accessible.description: "Makes a memory aid from this document."
                    onClicked: mnemonicSheet.open()
                }
            }

            DocumentDetailNarrationEntry {
                Layout.fillWidth: true
                onClicked: view.narrationRequested(notes.documentId, notes.title)
            }

            ReadingGuideEntry {
                Layout.fillWidth: true
                visible: notes.courseId.length > 0
                onClicked: readingGuide.open()
            }

            InlineErrorView {
                Layout.fillWidth: true
                message: notes.errorMessage
            }

            SkeletonRows {
                Layout.fillWidth: true
                visible: notes.isLoading
                rows: 5
                accessibleName: "Loading notes"
            }

            NotesEmptyState {
                Layout.fillWidth: true
                visible: !notes.isLoading && !notes.hasNotes
                generating: notes.isGenerating
                onGenerate: notes.generate()
            }

            RowLayout {
                Layout.fillWidth: true
                visible: notes.hasNotes
                spacing: Theme.spacing.m
                PrimaryButton {
                    text: view.speaking ? "Stop" : "Listen"
                    symbol: view.speaking ? "stop.fill" : "speaker.wave.3"
                    Accessible.name: view.speaking ? "Stop" : "Listen to these notes"
                    Accessible.description: view.speaking ? "Stops reading these notes aloud."
                                                          : "Reads the summary, key concepts and key terms aloud."
                    onClicked: view.speaking ? view.stopListeningRequested()
                                             : view.listenRequested(notes.readAloudText())
                }
                SecondaryButton {
                    visible: notes.keyTermCards.length > 0
                    text: "Study as flashcards"
                    Accessible.description: "Walks through this document's key terms as notecards."
                    onClicked: keyTermWalk.open()
                }
                Item { Layout.fillWidth: true }
                SecondaryButton {
                    text: notes.isGenerating ? "Generating…" : "Regenerate notes"
                    enabled: !notes.isGenerating
                    Accessible.description: "Makes these notes again from the document."
                    onClicked: notes.generate()
                }
            }

            Repeater {
                model: notes.sections
                delegate: NotesSectionCard {
                    required property var modelData
                    Layout.fillWidth: true
                    section: modelData
                    documentTitle: notes.title
                }
            }

            Item { Layout.preferredHeight: Theme.spacing.xl }
        }
    }

    MnemonicGenerationSheet {
        id: mnemonicSheet
        documentId: notes.documentId
        courseId: notes.courseId
    }

    ReadingGuideSheet {
        id: readingGuide
        courseId: notes.courseId
        documentId: notes.documentId
        title: notes.title
    }

    FlashcardWalkSheet {
        id: keyTermWalk
        title: notes.title + " · Key terms"
        cards: notes.keyTermCards
    }
}
