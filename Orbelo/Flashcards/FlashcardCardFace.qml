import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// The card being studied: the side that is up (click to flip), its hint and its synonyms.
// `deckModel` offers "Generate synonyms" for the course; a sheet's walk has none.
Rectangle {
    id: face
    required property QtObject cursor
    property QtObject deckModel: null
    property string flipDescription: "Tap card to flip"
    signal flipRequested()

    implicitHeight: content.implicitHeight + Theme.spacing.xl * 2
    radius: Theme.radius.large
    color: Theme.color.surface
    border.color: Theme.color.separator

    ColumnLayout {
        id: content
        anchors.fill: parent
        anchors.margins: Theme.spacing.xl
        spacing: Theme.spacing.m

        Text {
            text: face.cursor.shownSide
            color: Theme.color.textTertiary
            font.pixelSize: Theme.font.caption
            font.capitalization: Font.AllUppercase
            Accessible.ignored: true
        }
        Text {
            id: shown
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: 120
            text: face.cursor.shownText
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title
            Accessible.role: Accessible.Button
            Accessible.name: face.cursor.shownSide + ": " + text
            Accessible.description: face.flipDescription
            Accessible.onPressAction: face.flipRequested()
            TapHandler { onTapped: face.flipRequested() }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.s
            FlashcardKeyButton {
                visible: face.cursor.card.hint !== undefined && face.cursor.card.hint.length > 0
                         && !face.cursor.isHintShown
                plain: true
                text: "Need a hint?"
                key: "H"
                description: "Reveals a one-line cue without showing the answer."
                onClicked: face.cursor.revealHint()
            }
            FlashcardKeyButton {
                visible: face.cursor.card.hasSynonyms === true
                plain: true
                text: face.cursor.areSynonymsShown ? "Hide synonyms" : "Show synonyms"
                key: "S"
                description: "Shows the synonyms, antonyms and related terms of this card."
                onClicked: face.cursor.toggleSynonyms()
            }
            Item { Layout.fillWidth: true }
            FlashcardKeyButton {
                visible: face.deckModel !== null && face.deckModel.needsCourse
                plain: true
                enabled: face.deckModel !== null && !face.deckModel.isGeneratingSynonyms
                text: face.deckModel ? face.deckModel.synonymsLabel : ""
                description: "Generates synonyms and related terms for this course's vocabulary."
                onClicked: face.deckModel.generateSynonyms()
            }
            SymbolIcon {
                visible: face.deckModel !== null && face.deckModel.isGeneratingSynonyms
                symbol: "hourglass"
                tint: Theme.color.textSecondary
                size: 16
            }
        }

        ColumnLayout {
            visible: face.cursor.isHintShown
            Layout.fillWidth: true
            spacing: Theme.spacing.xxs
            Text {
                Layout.fillWidth: true
                text: "Hint: " + (face.cursor.card.hint || "")
                wrapMode: Text.WordWrap
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Text {
                visible: face.cursor.card.hintFromMnemonic === true
                text: "From your class mnemonic"
                color: Theme.color.accent
                font.pixelSize: Theme.font.caption
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                Accessible.description: "This hint comes from your class mnemonic."
            }
        }

        ColumnLayout {
            id: synonyms
            visible: face.cursor.areSynonymsShown
            Layout.fillWidth: true
            spacing: Theme.spacing.xxs
            opacity: visible ? 1 : 0
            Behavior on opacity { NumberAnimation { duration: Theme.motion.reduce ? 0 : 200 } }
            Accessible.role: Accessible.Grouping
            Accessible.name: "Synonyms and related terms"
            Text {
                text: "Synonyms and related terms"
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                font.weight: Font.DemiBold
                Accessible.ignored: true
            }
            Repeater {
                model: face.cursor.card.synonyms || []
                Text {
                    required property string modelData
                    text: "• " + modelData
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.body
                    Accessible.role: Accessible.StaticText
                    Accessible.name: modelData
                }
            }
            Repeater {
                model: [face.cursor.card.antonymsLine || "", face.cursor.card.relatedLine || ""]
                Text {
                    required property string modelData
                    Layout.fillWidth: true
                    visible: modelData.length > 0
                    text: modelData
                    wrapMode: Text.WordWrap
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.body
                    Accessible.role: Accessible.StaticText
                    Accessible.name: modelData
                }
            }
        }
        InlineErrorView {
            Layout.fillWidth: true
            message: face.deckModel ? face.deckModel.synonymsError : ""
        }
    }
}
