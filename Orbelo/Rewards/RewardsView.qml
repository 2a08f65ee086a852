import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The Rewards tab, and the same content inside the Rewards sheet: the level and balance, the
// Marketplace and My Rewards segments, the category filter, the cards, and the purchase toast with
// its confetti.
Item {
    id: view
    // The sheet shows its own title; the tab has the shell's heading.
    property bool showsTitle: false

    // Its own model on the app's backend unless given one.
    property RewardsModel rewards: RewardsModel {
        context: AppContext
        appearance: Appearance
    }
    Connections {
        target: view.rewards
        function onCelebrate() { confetti.fire() }
    }

    Refreshable.onRequested: view.rewards.load()
    Refreshable.enabled: !view.rewards.isLoading
    Component.onCompleted: view.rewards.load()
    function sectionShown() { view.rewards.load() }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: view.showsTitle ? 0 : Theme.spacing.xxl
        anchors.rightMargin: view.showsTitle ? 0 : Theme.spacing.xxl
        anchors.topMargin: view.showsTitle ? 0 : Theme.spacing.l
        anchors.bottomMargin: view.showsTitle ? 0 : Theme.spacing.l
        spacing: Theme.spacing.m

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.m
            Text {
                visible: view.showsTitle
                text: "Rewards"
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title
                font.weight: Font.Bold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Item { Layout.fillWidth: true }
            Repeater {
                model: [view.rewards.boostText, view.rewards.premiumText].filter(text => text.length > 0)
                delegate: Text {
                    required property string modelData
                    text: modelData
                    color: Theme.color.success
                    font.pixelSize: Theme.font.callout
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
            Text {
                visible: text.length > 0
                text: view.rewards.levelText
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.headline
                font.weight: Font.DemiBold
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Rectangle {
                visible: creditsLabel.text.length > 0
                implicitWidth: creditsLabel.implicitWidth + Theme.spacing.l * 2
                implicitHeight: 30
                radius: Theme.radius.pill
                color: Theme.color.accentSoft
                Text {
                    id: creditsLabel
                    anchors.centerIn: parent
                    text: view.rewards.creditsText
                    color: Theme.color.accent
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.Bold
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
            RefreshButton {
                plain: true
                enabled: !view.rewards.isLoading
                onClicked: view.rewards.load()
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.s
            Repeater {
                model: view.rewards.segments
                delegate: Chip {
                    required property string modelData
                    required property int index
                    text: modelData
                    selected: view.rewards.segment === index
                    onClicked: view.rewards.segment = index
                }
            }
        }

        InlineErrorView {
            Layout.fillWidth: true
            message: view.rewards.errorMessage
        }

        SkeletonRows {
            Layout.fillWidth: true
            visible: view.rewards.isLoading && !view.rewards.hasLoaded
            rows: 3
            accessibleName: "Loading rewards"
        }

        // Marketplace.
        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            visible: view.rewards.segment === 0 && view.rewards.hasLoaded
            spacing: Theme.spacing.m

            Flow {
                Layout.fillWidth: true
                spacing: Theme.spacing.s
                Repeater {
                    model: view.rewards.categories
                    delegate: Chip {
                        required property string modelData
                        required property int index
                        text: modelData
                        selected: view.rewards.categoryIndex === index
                        Accessible.description: "Shows the rewards of this category."
                        onClicked: view.rewards.categoryIndex = index
                    }
                }
            }
            Text {
                visible: view.rewards.catalog.length === 0
                text: "Nothing in this category yet"
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            ScrollView {
                Layout.fillWidth: true
                Layout.fillHeight: true
                contentWidth: availableWidth
                GridLayout {
                    width: parent.width
                    columns: Math.max(1, Math.floor(width / 300))
                    columnSpacing: Theme.spacing.m
                    rowSpacing: Theme.spacing.m
                    Repeater {
                        model: view.rewards.catalog
                        delegate: RewardsCatalogCard {
                            required property var modelData
                            Layout.fillWidth: true
                            reward: modelData
                            onPurchase: view.rewards.purchase(modelData.rewardId)
                        }
                    }
                }
            }
        }

        // My Rewards.
        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            visible: view.rewards.segment === 1 && view.rewards.hasLoaded
            spacing: Theme.spacing.m

            Text {
                visible: view.rewards.owned.length === 0
                text: "You haven't bought any rewards yet."
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            ScrollView {
                Layout.fillWidth: true
                Layout.fillHeight: true
                contentWidth: availableWidth
                ColumnLayout {
                    width: parent.width
                    spacing: Theme.spacing.m
                    Repeater {
                        model: view.rewards.owned
                        delegate: RewardsOwnedCard {
                            required property var modelData
                            Layout.fillWidth: true
                            reward: modelData
                            documents: view.rewards.documents
                            writingLyrics: view.rewards.writingLyricsId === modelData.userRewardId
                            onWriteLyrics: documentId => view.rewards.writeLyrics(modelData.userRewardId, documentId)
                            onGenerateSong: songSheet.openFor(modelData.userRewardId)
                            onGenerateMnemonic: mnemonicSheet.open()
                            onOpenMnemonic: {
                                mnemonicDetail.text = modelData.mnemonic
                                mnemonicDetail.title = modelData.name
                                mnemonicDetail.explanation = modelData.explanation
                                mnemonicDetail.open()
                            }
                            onOpenSettings: settingsSheet.shown = true
                            onStartTutorSession: tutorSheet.openFor(modelData.userRewardId)
                        }
                    }
                }
            }
        }
    }

    // "Purchased …": read out when it appears.
    Rectangle {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.spacing.xl
        visible: view.rewards.toast.length > 0
        implicitWidth: toastText.implicitWidth + Theme.spacing.xl * 2
        implicitHeight: 40
        radius: Theme.radius.pill
        color: Theme.color.textPrimary
        Text {
            id: toastText
            anchors.centerIn: parent
            text: view.rewards.toast
            color: Theme.color.background
            font.pixelSize: Theme.font.body
            font.weight: Font.DemiBold
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
        }
    }

    ConfettiView {
        id: confetti
        anchors.fill: parent
    }

    SongGenerationSheet {
        id: songSheet
        onFinished: view.rewards.load()
    }
    MnemonicGenerationSheet { id: mnemonicSheet }
    MnemonicDetailSheet { id: mnemonicDetail }
    SettingsSheet {
        id: settingsSheet
        onDismissed: shown = false
    }
    TutorSessionSheet {
        id: tutorSheet
        onFinished: view.rewards.load()
    }
}
