import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The Cards tab: the deck setup, then the review session or the notecard walk, then the
// deck-complete view. Leaving a card view stops what it read aloud. "Load notecards" opens the
// notecard import for the selected course; the cards it adds show in the deck.
Item {
    id: screen
    readonly property alias deckModel: deck

    FlashcardDeckModel {
        id: deck
        onImportRequested: {
            importSheet.courseId = deck.selectedCourseId
            importSheet.open()
        }
    }
    NotecardImportSheet {
        id: importSheet
        onImported: (count, courseId) => deck.importFinished(count, courseId)
    }
    Component.onCompleted: deck.load()
    function sectionShown() {
        if (deck.phase === FlashcardDeckModel.Setup && !deck.isLoading)
            deck.load()
    }
    Refreshable.onRequested: deck.load()
    Refreshable.enabled: !deck.isLoading && deck.phase === FlashcardDeckModel.Setup
    UnsavedWork.description: deck.isGenerating ? "the cards being written" : ""

    Loader {
        id: page
        anchors.fill: parent
        focus: true
        sourceComponent: deck.phase === FlashcardDeckModel.Review ? reviewPage
                         : deck.phase === FlashcardDeckModel.Walk ? walkPage
                         : deck.phase === FlashcardDeckModel.Complete ? completePage : setupPage
        onLoaded: item.forceActiveFocus()
    }

    Component {
        id: setupPage
        FlashcardDeckSetup { model: deck }
    }
    Component {
        id: reviewPage
        FlashcardReviewView {
            model: deck
            onExitRequested: deck.exit()
        }
    }
    Component {
        id: walkPage
        FlashcardNotecardWalk {
            walk: deck.walk
            model: deck
            title: deck.deckTitle
            onExitRequested: deck.exit()
        }
    }
    Component {
        id: completePage
        FlashcardDeckComplete { onBackRequested: deck.back() }
    }
}
