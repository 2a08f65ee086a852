import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// A review session: the card, then "How well did you know it?" with Again, Hard, Good and Easy.
// Keys: Space flips, 1–4 rate, H hint, S synonyms, R reads aloud, Escape exits.
FocusScope {
    id: view
    required property FlashcardDeckModel model
    readonly property FlashcardReviewSession session: model.session
    signal exitRequested()

    Connections {
        target: view.session
        function onStopReadingAloud() { readAloud.stop() }
    }

    Keys.onPressed: event => {
        const rating = ["1", "2", "3", "4"].indexOf(event.text)
        if (rating >= 0 && !view.session.isReviewing) {
            view.session.rate(rating)
        } else if (event.key === Qt.Key_Space) {
            view.session.flip()
        } else if (event.key === Qt.Key_H) {
            view.session.revealHint()
        } else if (event.key === Qt.Key_S) {
            view.session.toggleSynonyms()
        } else if (event.key === Qt.Key_R) {
            readAloud.readBoth()
        } else if (event.key === Qt.Key_Escape) {
            view.exitRequested()
        } else {
            return
        }
        event.accepted = true
    }

    ColumnLayout {
        width: Math.min(view.width - Theme.spacing.xxl * 2, 720)
        x: (view.width - width) / 2
        y: Theme.spacing.l
        height: view.height - Theme.spacing.l * 2
        spacing: Theme.spacing.m

        RowLayout {
            Layout.fillWidth: true
            FlashcardKeyButton {
                plain: true
                text: "Exit"
                key: "Esc"
                description: "Leaves the session for the deck setup."
                onClicked: view.exitRequested()
            }
            Text {
                Layout.fillWidth: true
                text: (view.model.deckTitle.length > 0 ? view.model.deckTitle + " · " : "") + view.session.progressText
                elide: Text.ElideRight
                horizontalAlignment: Text.AlignHCenter
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Switch {
                id: promptToggle
                text: view.session.promptToggleLabel
                checked: view.session.promptWithBack
                focusPolicy: Qt.TabFocus
                onToggled: view.session.promptWithBack = checked
                Accessible.name: text
                Accessible.description: "Switches which side of the card you see first."
                ToolTip.visible: hovered
                ToolTip.delay: 400
                ToolTip.text: view.session.promptToggleHint
            }
        }
        Text {
            Layout.fillWidth: true
            text: view.session.promptToggleHint
            wrapMode: Text.WordWrap
            color: Theme.color.textTertiary
            font.pixelSize: Theme.font.caption
            horizontalAlignment: Text.AlignRight
            Accessible.ignored: true
        }

        FlashcardCardFace {
            Layout.fillWidth: true
            Layout.fillHeight: true
            cursor: view.session
            deckModel: view.model
            onFlipRequested: view.session.flip()
        }
        RowLayout {
            Layout.fillWidth: true
            FlashcardKeyButton {
                text: "Flip card"
                key: "Space"
                description: "Tap card to flip"
                onClicked: view.session.flip()
            }
            Item { Layout.fillWidth: true }
            FlashcardReadAloudRow { id: readAloud; cursor: view.session }
        }

        InlineErrorView {
            Layout.fillWidth: true
            message: view.session.errorMessage
        }
        Text {
            text: "How well did you know it?"
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.headline
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        GridLayout {
            Layout.fillWidth: true
            columns: 2
            columnSpacing: Theme.spacing.s
            rowSpacing: Theme.spacing.s
            Repeater {
                model: view.session.ratings
                FlashcardKeyButton {
                    required property var modelData
                    Layout.fillWidth: true
                    text: modelData.name
                    key: modelData.key
                    description: modelData.hint
                    enabled: !view.session.isReviewing
                    Accessible.name: modelData.accessibleName
                    onClicked: view.session.rate(modelData.quality)
                }
            }
        }
    }
}
