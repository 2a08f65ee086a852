import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloMedia

// Song lyrics as cleaned lines: section headers in a heavier style, lyric lines, and blank lines
// as space; "Read lyrics aloud" reads them through the shared read-aloud player, which is only
// reached once something has been read, and stops when the view goes.
ColumnLayout {
    id: lyrics
    // {kind, text} per line (LyricsDisplay).
    property var lines: []
    property string spokenText
    property bool started: false
    readonly property bool speaking: started && ReadAloudPlayer.isSpeaking

    spacing: Theme.spacing.xxs
    Component.onDestruction: if (started) ReadAloudPlayer.stop()

    SecondaryButton {
        plain: true
        visible: lyrics.spokenText.length > 0
        text: lyrics.speaking ? "Stop reading" : "Read lyrics aloud"
        Accessible.description: lyrics.speaking ? "Stops reading aloud." : "Reads the lyrics aloud."
        onClicked: {
            if (lyrics.speaking) {
                ReadAloudPlayer.stop()
            } else {
                lyrics.started = true
                ReadAloudPlayer.speak(lyrics.spokenText)
            }
        }
    }
    Repeater {
        model: lyrics.lines
        delegate: Text {
            required property var modelData
            Layout.fillWidth: true
            Layout.topMargin: modelData.kind === "header" ? Theme.spacing.s : 0
            Layout.preferredHeight: modelData.kind === "blank" ? Theme.spacing.m : implicitHeight
            text: modelData.text
            color: modelData.kind === "header" ? Theme.color.textPrimary : Theme.color.textSecondary
            font.pixelSize: Theme.font.body
            font.weight: modelData.kind === "header" ? Font.Bold : Font.Normal
            wrapMode: Text.Wrap
            Accessible.role: modelData.kind === "header" ? Accessible.Heading : Accessible.StaticText
            Accessible.name: text
            Accessible.ignored: modelData.kind === "blank"
        }
    }
}
