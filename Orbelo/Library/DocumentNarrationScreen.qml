import QtQml.Models
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The whole document read aloud by the backend's voice. Owns its player and stops it when it
// goes away. Space plays and pauses; Escape goes back.
FocusScope {
    id: screen
    property string documentId
    property string title

    signal closeRequested()

    focus: true
    Keys.onSpacePressed: player.togglePlayPause()
    Keys.onEscapePressed: screen.closeRequested()

    DocumentNarrationPlayer {
        id: player
        documentId: screen.documentId
        documentTitle: screen.title
    }
    Component.onCompleted: player.load()
    Component.onDestruction: player.stop()

    SecondaryButton {
        x: Theme.spacing.xxl
        y: Theme.spacing.l
        plain: true
        text: "Back"
        Accessible.name: "Back to the notes"
        onClicked: screen.closeRequested()
    }

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(screen.width - Theme.spacing.xxl * 2, 560)
        spacing: Theme.spacing.l

        Text {
            Layout.fillWidth: true
            text: screen.title
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title
            font.weight: Font.Bold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        ColumnLayout {
            visible: player.phaseName === "loading"
            Layout.fillWidth: true
            spacing: Theme.spacing.m
            BusyIndicator {
                Layout.alignment: Qt.AlignHCenter
                running: parent.visible
                Accessible.name: "Loading narration"
            }
            Text {
                Layout.fillWidth: true
                text: "Synthesizing the document in a natural voice. The first time can take a few seconds; replays are instant."
                wrapMode: Text.WordWrap
                horizontalAlignment: Text.AlignHCenter
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
                Accessible.name: text
            }
        }

        ColumnLayout {
            visible: player.phaseName === "failed"
            Layout.fillWidth: true
            spacing: Theme.spacing.m
            Text {
                Layout.fillWidth: true
                text: "Narration unavailable"
                horizontalAlignment: Text.AlignHCenter
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.headline
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            InlineErrorView {
                Layout.fillWidth: true
                message: player.failureMessage
            }
            SecondaryButton {
                Layout.alignment: Qt.AlignHCenter
                text: "Try again"
                onClicked: player.load()
            }
        }

        ColumnLayout {
            visible: player.phaseName === "playing"
                     || player.phaseName === "paused"
                     || player.phaseName === "finished"
            Layout.fillWidth: true
            spacing: Theme.spacing.m

            Text {
                Layout.fillWidth: true
                text: "Segment " + (player.currentIndex + 1) + " of " + player.totalSegments
                horizontalAlignment: Text.AlignHCenter
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
                Accessible.name: text
            }
            ProgressBar {
                Layout.fillWidth: true
                value: player.itemProgress
                Accessible.name: "Progress in this segment"
            }
            RowLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: Theme.spacing.m

                PrimaryButton {
                    visible: player.phaseName !== "finished"
                    readonly property bool playing: player.phaseName === "playing"
                    text: playing ? "Pause" : "Play"
                    symbol: playing ? "pause.circle.fill" : "play.circle.fill"
                    onClicked: player.togglePlayPause()
                }
                PrimaryButton {
                    visible: player.phaseName === "finished"
                    text: "Replay narration"
                    symbol: "play.circle.fill"
                    onClicked: player.replay()
                }
                SecondaryButton {
                    id: speedButton
                    text: player.speedLabel
                    Accessible.name: "Playback speed: " + player.speeds[player.speedIndex].spokenLabel
                    onClicked: speedMenu.open()
                    PopupMenu {
                        id: speedMenu
                        y: speedButton.height
                        Instantiator {
                            model: player.speeds
                            delegate: PopupMenuItem {
                                required property var modelData
                                required property int index
                                text: modelData.label
                                checkable: true
                                checked: index === player.speedIndex
                                Accessible.name: modelData.spokenLabel
                                onTriggered: player.speedIndex = index
                            }
                            onObjectAdded: (index, item) => speedMenu.insertItem(index, item)
                            onObjectRemoved: (index, item) => speedMenu.removeItem(item)
                        }
                    }
                }
            }
            Text {
                Layout.fillWidth: true
                text: "This audio uses an AI-generated voice"
                horizontalAlignment: Text.AlignHCenter
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.caption
                Accessible.name: text
            }
        }
    }
}
