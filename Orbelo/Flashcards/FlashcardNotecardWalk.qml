import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// A walk through notecards. Keys: ← and → move, Space flips, H hint, S synonyms, R reads aloud,
// Escape exits; a horizontal drag on the card moves like a swipe.
FocusScope {
    id: view
    required property FlashcardWalk walk
    // The deck model offers "Generate synonyms" for its course; null in a sheet.
    property QtObject model: null
    property string title
    signal exitRequested()

    function stopReading() { readAloud.stop() }

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Left) {
            view.walk.previous()
        } else if (event.key === Qt.Key_Right) {
            view.walk.next()
        } else if (event.key === Qt.Key_Space) {
            view.walk.flip()
        } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            view.walk.advance()
        } else if (event.key === Qt.Key_H) {
            view.walk.revealHint()
        } else if (event.key === Qt.Key_S) {
            view.walk.toggleSynonyms()
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
                description: "Leaves these notecards."
                onClicked: view.exitRequested()
            }
            Text {
                Layout.fillWidth: true
                text: (view.title.length > 0 ? view.title + " · " : "") + view.walk.progressText
                elide: Text.ElideRight
                horizontalAlignment: Text.AlignHCenter
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }

        FlashcardCardFace {
            id: face
            Layout.fillWidth: true
            Layout.fillHeight: true
            cursor: view.walk
            deckModel: view.model
            flipDescription: "Double tap to flip. Swipe left for the next card, right for the previous."
            onFlipRequested: view.walk.flip()
            DragHandler {
                id: drag
                target: null
                xAxis.enabled: true
                yAxis.enabled: true
                onActiveChanged: if (!active) view.walk.swipe(translation.x, translation.y)
            }
        }

        FlashcardReadAloudRow { id: readAloud; cursor: view.walk }
        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.s
            FlashcardKeyButton {
                text: "Previous card"
                key: "←"
                description: "Shows the previous vocabulary card."
                enabled: view.walk.canGoBack
                onClicked: view.walk.previous()
            }
            FlashcardKeyButton {
                text: "Flip card"
                key: "Space"
                description: "Double tap to flip. Swipe left for the next card, right for the previous."
                onClicked: view.walk.flip()
            }
            Item { Layout.fillWidth: true }
            PrimaryButton {
                text: view.walk.mainButtonText
                hoverEnabled: true
                focusPolicy: Qt.TabFocus
                Accessible.description: view.walk.mainButtonDescription + " Shortcut: → or Enter."
                ToolTip.visible: hovered
                ToolTip.delay: 400
                ToolTip.text: text + (view.walk.isLast ? " (Enter)" : " (→ or Enter)")
                onClicked: view.walk.advance()
            }
        }
    }
}
