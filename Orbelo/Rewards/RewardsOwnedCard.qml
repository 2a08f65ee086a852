import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// One reward the user owns: its kind, status and uses left, then what its kind offers — a song's
// "Generate Song" or its player and lyrics, a lyrics reward's document picker and "Write Lyrics" or
// its lyrics, a mnemonic's "Generate Mnemonic" or the mnemonic itself, Night Owl's "Open
// Settings", a tutor session's "Start Tutor Session", and for other kinds a line on what they do.
Rectangle {
    id: card
    // One entry of RewardsModel.owned.
    required property var reward
    // RewardsModel.documents, for a lyrics reward not yet used.
    property var documents: []
    property bool writingLyrics: false
    signal generateSong()
    signal writeLyrics(string documentId)
    signal generateMnemonic()
    signal openMnemonic()
    signal openSettings()
    signal startTutorSession()

    readonly property bool hasSong: reward.kind === "song" && reward.audioUrl.length > 0
    readonly property bool hasLyrics: (reward.kind === "song" || reward.kind === "lyrics")
                                      && reward.lyrics.length > 0

    implicitHeight: column.implicitHeight + Theme.spacing.l * 2
    radius: Theme.radius.large
    color: Theme.color.surface
    border.color: Theme.color.separator

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: Theme.spacing.l
        spacing: Theme.spacing.s

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.s
            Text {
                Layout.fillWidth: true
                text: card.reward.name
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.headline
                font.weight: Font.Bold
                elide: Text.ElideRight
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Text {
                text: card.reward.status
                color: Theme.color.success
                font.pixelSize: Theme.font.caption
                font.weight: Font.DemiBold
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
        Text {
            text: card.reward.usesLeft.length > 0 ? card.reward.kindLabel + " · " + card.reward.usesLeft
                                                  : card.reward.kindLabel
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.caption
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        Text {
            Layout.fillWidth: true
            visible: text.length > 0
            text: card.reward.note
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.callout
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        RewardSongPlayerView {
            Layout.fillWidth: true
            visible: card.hasSong
            active: card.hasSong
            source: card.reward.audioUrl
            title: card.reward.title
        }

        // Lyrics: a song's start collapsed, a lyrics reward's show at once.
        SecondaryButton {
            id: lyricsToggle
            property bool expanded: card.reward.kind === "lyrics"
            plain: true
            visible: card.hasLyrics && card.reward.kind === "song"
            text: expanded ? "Lyrics" : "Lyrics — Tap to expand"
            Accessible.name: "Lyrics"
            Accessible.description: expanded ? "Hides the lyrics." : "Tap to expand"
            onClicked: expanded = !expanded
        }
        LyricsView {
            Layout.fillWidth: true
            visible: card.hasLyrics && lyricsToggle.expanded
            lines: card.reward.lyricsLines
            spokenText: card.reward.lyricsSpoken
        }

        RowLayout {
            Layout.fillWidth: true
            visible: card.reward.canWriteLyrics
            spacing: Theme.spacing.s
            ComboBox {
                id: lyricsDocument
                Layout.fillWidth: true
                model: card.documents
                textRole: "title"
                valueRole: "id"
                enabled: !card.writingLyrics && count > 0
                displayText: count > 0 ? currentText : "No documents found. Upload a document in the Library first."
                Accessible.name: "Document"
                Accessible.description: "Chooses the document the lyrics are written from."
            }
            PrimaryButton {
                text: card.writingLyrics ? "Writing…" : "Write Lyrics"
                enabled: !card.writingLyrics && lyricsDocument.count > 0
                Accessible.description: "Writes lyrics from the chosen document's notes."
                onClicked: card.writeLyrics(lyricsDocument.currentValue)
            }
        }

        PrimaryButton {
            visible: card.reward.kind === "song" && card.reward.canGenerate
            text: "Generate Song"
            Accessible.description: "Opens the study-song sheet."
            onClicked: card.generateSong()
        }
        PrimaryButton {
            visible: card.reward.kind === "mnemonic" && card.reward.canGenerate
            text: "Generate Mnemonic"
            Accessible.description: "Opens the mnemonic sheet."
            onClicked: card.generateMnemonic()
        }
        PrimaryButton {
            visible: card.reward.rewardType === "theme"
            text: "Open Settings"
            Accessible.description: "Opens Settings, where Appearance offers Night Owl."
            onClicked: card.openSettings()
        }
        PrimaryButton {
            visible: card.reward.rewardType === "tutor_session" && card.reward.status === "Available"
            text: "Start Tutor Session"
            Accessible.description: "Choose a course and start the 30-minute guided session."
            onClicked: card.startTutorSession()
        }
        SecondaryButton {
            visible: card.reward.kind === "mnemonic" && card.reward.mnemonic.length > 0
            text: "Open mnemonic"
            Accessible.description: "Opens the mnemonic in full-screen view."
            onClicked: card.openMnemonic()
        }
    }
}
