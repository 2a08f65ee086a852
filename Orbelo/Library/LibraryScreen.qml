import QtQuick
import QtQuick.Controls
import OrbeloMedia

// The Library tab: the documents, a ready document's notes over them, and its narration over
// the notes. Back (or Escape) returns one level.
StackView {
    id: stack

    initialItem: documentsPage

    Component {
        id: documentsPage
        DocumentsView {
            onOpenDocument: (documentId, title, courseId) => stack.push(notesPage, {"documentId": documentId, "title": title,
                                                                                  "courseId": courseId})
        }
    }

    Component {
        id: notesPage
        DocumentDetailView {
            id: notes
            // Whether the shared read-aloud player is reading these notes, not another screen's text.
            property bool readingHere: false
            speaking: readingHere && ReadAloudPlayer.isSpeaking
            onListenRequested: text => {
                readingHere = true;
                ReadAloudPlayer.speak(text);
            }
            onStopListeningRequested: ReadAloudPlayer.stop()
            onNarrationRequested: (documentId, title) => {
                ReadAloudPlayer.stop();
                stack.push(narrationPage, {"documentId": documentId, "title": title});
            }
            onCloseRequested: stack.pop()
            Component.onDestruction: if (readingHere) ReadAloudPlayer.stop()
        }
    }

    Component {
        id: narrationPage
        DocumentNarrationScreen {
            onCloseRequested: stack.pop()
        }
    }
}
