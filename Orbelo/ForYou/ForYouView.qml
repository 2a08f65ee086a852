import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The For You tab: twenty cards picked for what the user is learning, in one scrolling column,
// each of which can be liked, read aloud or opened as a video. L likes the card that has the
// focus (or holds the focused control).
ScrollView {
    id: screen
    signal libraryRequested()

    contentWidth: availableWidth
    clip: true

    Refreshable.onRequested: feed.load()
    Refreshable.enabled: !feed.isLoading

    ForYouFeedModel { id: feed }
    Component.onCompleted: feed.load()

    FocusReveal { view: screen }

    ColumnLayout {
        id: column
        width: Math.min(screen.availableWidth - Theme.spacing.xxl * 2, 760)
        x: Theme.spacing.xxl
        spacing: Theme.spacing.l

        Item { Layout.preferredHeight: Theme.spacing.xs }

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.m
            Text {
                Layout.fillWidth: true
                text: "Short cards picked for what you're learning. Like the ones that help, so more like them show up."
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            RefreshButton {
                enabled: screen.Refreshable.enabled
                onClicked: screen.Refreshable.requested()
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            visible: feed.isLoading && feed.count === 0
            spacing: Theme.spacing.m
            Text {
                text: "Picking cards for you…"
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            SkeletonRows {
                Layout.fillWidth: true
                accessibleName: "Picking cards for you…"
            }
        }

        InlineErrorView {
            Layout.fillWidth: true
            message: feed.errorMessage
        }
        SecondaryButton {
            visible: feed.errorMessage.length > 0
            enabled: !feed.isLoading
            text: "Try again"
            Accessible.description: "Loads your feed again."
            onClicked: feed.load()
        }

        ColumnLayout {
            Layout.fillWidth: true
            visible: feed.isEmpty
            spacing: Theme.spacing.m
            EmptyStateView {
                Layout.fillWidth: true
                Layout.preferredHeight: 240
                symbol: "sparkles"
                title: "Nothing picked for you yet"
                message: "Add notes or a syllabus to your Library, and cards about what you're learning will show up here."
            }
            PrimaryButton {
                Layout.alignment: Qt.AlignHCenter
                text: "Go to Library"
                Accessible.description: "Opens your Library to add study material."
                onClicked: screen.libraryRequested()
            }
        }

        InlineErrorView {
            Layout.fillWidth: true
            message: feed.cards.likeErrorMessage
        }

        Repeater {
            model: feed.cards
            delegate: Rectangle {
                id: cardFrame
                required property int index
                required property var model
                Layout.fillWidth: true
                implicitHeight: face.implicitHeight + Theme.spacing.l * 2
                radius: Theme.radius.large
                color: Theme.color.surface
                border.color: activeFocus ? Theme.color.focusRing : Theme.color.separator
                border.width: activeFocus ? 2 : 1
                activeFocusOnTab: true
                Accessible.role: Accessible.Grouping
                Accessible.name: model.title
                Accessible.description: "Press L to like or unlike this card."
                Keys.onPressed: event => {
                    if (event.key === Qt.Key_L && event.modifiers === Qt.NoModifier) {
                        feed.cards.toggleLike(index)
                        event.accepted = true
                    }
                }

                ForYouCardFace {
                    id: face
                    x: Theme.spacing.l
                    y: Theme.spacing.l
                    width: cardFrame.width - Theme.spacing.l * 2
                    card: cardFrame.model
                    onLikeRequested: feed.cards.toggleLike(cardFrame.index)
                }
            }
        }

        Item { Layout.preferredHeight: Theme.spacing.l }
    }
}
