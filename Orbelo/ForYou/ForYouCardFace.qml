import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloMedia

// One feed card: its title and text, difficulty, who wrote it, its likes, and what it offers —
// reading it aloud, its mnemonic, its video. `card` carries ForYouCardList's roles by name (a
// list delegate's model, or a feed model's current card). The controls come in reading order.
ColumnLayout {
    id: face
    required property var card
    signal likeRequested()

    // The player is only reached once this card has read something, so a card that is never read
    // aloud never starts the speech engine; a card that goes away stops what it started.
    property bool startedReading: false
    readonly property bool reading: startedReading && ReadAloudPlayer.isSpeaking
    readonly property string videoUrl: card.videoUrl || ""
    readonly property string mnemonic: card.mnemonic || ""
    readonly property string cardId: card.cardId || ""

    spacing: Theme.spacing.s
    Component.onDestruction: stopReading()
    // The daily feed shows its next card in the same face: what this one read stops.
    onCardIdChanged: stopReading()

    function toggleReading() {
        if (reading) {
            stopReading()
        } else {
            startedReading = true
            ReadAloudPlayer.speak(card.readAloudText)
        }
    }
    function stopReading() {
        if (startedReading)
            ReadAloudPlayer.stop()
        startedReading = false
    }

    Text {
        Layout.fillWidth: true
        visible: text.length > 0
        text: face.card.topic || ""
        color: Theme.color.accent
        font.pixelSize: Theme.font.caption
        font.weight: Font.DemiBold
        font.capitalization: Font.AllUppercase
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    Text {
        Layout.fillWidth: true
        text: face.card.title || ""
        wrapMode: Text.WordWrap
        color: Theme.color.textPrimary
        font.pixelSize: Theme.font.title2
        font.weight: Font.DemiBold
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }
    Text {
        Layout.fillWidth: true
        text: face.card.body || ""
        wrapMode: Text.WordWrap
        color: Theme.color.textPrimary
        font.pixelSize: Theme.font.body
        lineHeight: 1.25
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    Flow {
        Layout.fillWidth: true
        spacing: Theme.spacing.m
        Repeater {
            model: [face.card.difficultyText || "",
                    face.card.isCommunity ? "Source: community" : "",
                    face.card.authorText || ""].filter(line => line.length > 0)
            delegate: Text {
                required property string modelData
                text: modelData
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }

    Flow {
        Layout.fillWidth: true
        Layout.topMargin: Theme.spacing.xs
        spacing: Theme.spacing.s

        Row {
            spacing: Theme.spacing.xxs
            SymbolIcon {
                anchors.verticalCenter: parent.verticalCenter
                symbol: "heart"
                tint: face.card.liked ? Theme.color.danger : Theme.color.textSecondary
                size: 16
                TapHandler { onTapped: if (!face.card.likeInFlight) face.likeRequested() }
            }
            SecondaryButton {
                plain: true
                text: face.card.likesText || ""
                enabled: !face.card.likeInFlight
                Accessible.name: face.card.likeAccessibleName || ""
                Accessible.description: face.card.liked ? "Removes your like from this card." : "Likes this card."
                onClicked: face.likeRequested()
            }
        }
        SecondaryButton {
            plain: true
            text: face.reading ? "Stop" : "Listen"
            Accessible.name: face.reading ? "Stop reading" : "Listen to this card"
            Accessible.description: face.reading ? "Stops reading this card aloud." : "Reads this card aloud."
            onClicked: face.toggleReading()
        }
        SecondaryButton {
            visible: face.mnemonic.length > 0
            plain: true
            text: "Show mnemonic"
            Accessible.description: "Opens this card's memory aid."
            onClicked: {
                mnemonicSheet.active = true
                mnemonicSheet.item.open()
            }
        }
        SecondaryButton {
            visible: face.videoUrl.length > 0
            plain: true
            text: "Watch on YouTube"
            Accessible.description: "Opens the card's video on YouTube in your browser."
            onClicked: Qt.openUrlExternally(face.videoUrl)
        }
    }

    // Built when first asked for: most cards never open theirs. The sheet shows over the window,
    // so the loader itself takes no room in the column.
    Loader {
        id: mnemonicSheet
        visible: false
        active: false
        sourceComponent: MnemonicDetailSheet {
            text: face.mnemonic
            title: face.card.title || ""
        }
    }
}
