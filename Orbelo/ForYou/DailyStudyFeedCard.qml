import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// Today's cards on the Study tab, one at a time. → or Enter moves on ("Got it"), S skips, L likes,
// while the card or one of its controls has the focus; moving on never waits for the backend.
StudyCard {
    id: feedCard
    required property DailyStudyFeedModel model
    readonly property bool walking: model.count > 0 && !model.isFinished

    title: "Today's study feed"
    symbol: "sparkles"
    activeFocusOnTab: true
    border.color: activeFocus ? Theme.color.focusRing : Theme.color.separator
    border.width: activeFocus ? 2 : 1
    Accessible.description: walking ? "Right arrow or Enter: got it. S: skip. L: like." : ""

    Keys.onPressed: event => {
        if (!feedCard.walking || event.modifiers !== Qt.NoModifier)
            return
        if (event.key === Qt.Key_Right || event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
            feedCard.model.gotIt()
        else if (event.key === Qt.Key_S)
            feedCard.model.skip()
        else if (event.key === Qt.Key_L)
            feedCard.model.toggleLike()
        else
            return
        event.accepted = true
    }

    Text {
        Layout.fillWidth: true
        visible: feedCard.model.isLoading && feedCard.model.count === 0
        text: "Picking today's cards…"
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.body
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    InlineErrorView {
        Layout.fillWidth: true
        message: feedCard.model.errorMessage
    }
    SecondaryButton {
        visible: feedCard.model.errorMessage.length > 0
        enabled: !feedCard.model.isLoading
        text: "Try again"
        Accessible.description: "Loads today's cards again."
        onClicked: feedCard.model.load()
    }

    Text {
        Layout.fillWidth: true
        visible: feedCard.model.isEmpty
        text: "No cards for today yet. Add notes or a syllabus to your Library and they'll start showing up here."
        wrapMode: Text.WordWrap
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.body
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    ColumnLayout {
        Layout.fillWidth: true
        visible: feedCard.model.isFinished
        spacing: Theme.spacing.s
        Text {
            Layout.fillWidth: true
            text: "Session complete. You went through all " + feedCard.model.count + " of today's cards."
            wrapMode: Text.WordWrap
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.body
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        SecondaryButton {
            text: "Start a new session"
            enabled: !feedCard.model.isLoading
            Accessible.description: "Loads a fresh set of cards."
            onClicked: feedCard.model.load()
        }
    }

    ColumnLayout {
        Layout.fillWidth: true
        visible: feedCard.walking
        spacing: Theme.spacing.m

        Text {
            Layout.fillWidth: true
            text: feedCard.model.positionText
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.caption
            font.weight: Font.DemiBold
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        ForYouCardFace {
            Layout.fillWidth: true
            card: feedCard.model.currentCard
            onLikeRequested: feedCard.model.toggleLike()
        }
        InlineErrorView {
            Layout.fillWidth: true
            message: feedCard.model.cards.likeErrorMessage
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.s
            PrimaryButton {
                text: feedCard.model.advanceText
                Accessible.description: feedCard.model.isLastCard ? "Ends today's session." : "Moves to the next card."
                onClicked: feedCard.model.gotIt()
            }
            SecondaryButton {
                text: "Skip this card"
                Accessible.description: "Marks the card as skipped and moves to the next one."
                onClicked: feedCard.model.skip()
            }
        }
    }
}
