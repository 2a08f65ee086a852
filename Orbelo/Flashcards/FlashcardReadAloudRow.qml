import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloMedia

// Reading the card aloud through the shared player: both sides (R), or one side. The player is
// only reached once this row has read something, so a card that is never read aloud never starts
// the speech engine; leaving the card stops what it started.
RowLayout {
    id: row
    required property QtObject cursor
    property bool started: false
    readonly property bool speaking: started && ReadAloudPlayer.isSpeaking

    spacing: Theme.spacing.xs
    Component.onDestruction: stop()

    function speak(text) {
        started = true
        ReadAloudPlayer.speak(text)
    }
    function stop() {
        if (started)
            ReadAloudPlayer.stop()
    }
    function readBoth() {
        if (speaking)
            stop()
        else
            speak(cursor.bothSidesText)
    }

    FlashcardKeyButton {
        plain: true
        text: row.speaking ? "Stop" : "Read question and answer aloud"
        key: "R"
        description: row.speaking ? "Stops reading aloud." : "Reads both sides of the card aloud."
        onClicked: row.readBoth()
    }
    FlashcardKeyButton {
        plain: true
        text: "Read " + (row.cursor.card.frontName || "") + " aloud"
        description: "Reads this side of the card aloud."
        onClicked: row.speak(row.cursor.card.front)
    }
    FlashcardKeyButton {
        plain: true
        text: "Read " + (row.cursor.card.backName || "") + " aloud"
        description: "Reads this side of the card aloud."
        onClicked: row.speak(row.cursor.card.back)
    }
}
