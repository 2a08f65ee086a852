import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// A finished study song: play/pause and the position slider with the elapsed and total time. The
// left and right arrows seek 5 seconds. A song that cannot be loaded says so with "Try again".
// The player exists only while the view is active, and stops when the view goes.
Item {
    id: view
    property string source
    property string title
    property bool active: true

    implicitHeight: loader.implicitHeight
    implicitWidth: loader.implicitWidth

    Loader {
        id: loader
        width: parent.width
        active: view.active
        sourceComponent: ColumnLayout {
            spacing: Theme.spacing.xs

            RewardSongPlayer {
                id: player
                source: view.source
                title: view.title
            }
            Component.onDestruction: player.stop()

            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.s
                PrimaryButton {
                    enabled: !player.isLoading
                    symbol: player.isPlaying ? "pause.circle.fill" : "play.circle.fill"
                    text: player.shortPlayLabel
                    Accessible.name: player.playLabel
                    onClicked: player.togglePlayback()
                }
                Text {
                    text: player.positionText
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.caption
                    Accessible.ignored: true
                }
                Slider {
                    id: slider
                    Layout.fillWidth: true
                    from: 0
                    to: Math.max(1, player.duration)
                    value: player.position
                    enabled: player.duration > 0
                    Accessible.name: "Playback position"
                    Accessible.description: player.spokenPosition
                    onPressedChanged: pressed ? player.beginDrag() : player.endDrag(value)
                    onMoved: if (pressed) player.dragTo(value)
                    Keys.onLeftPressed: player.step(-1)
                    Keys.onRightPressed: player.step(1)
                }
                Text {
                    text: player.durationText
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.caption
                    Accessible.ignored: true
                }
            }
            Text {
                Layout.fillWidth: true
                visible: player.isLoading
                text: "Loading the song…"
                color: Theme.color.textTertiary
                font.pixelSize: Theme.font.caption
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            RowLayout {
                Layout.fillWidth: true
                visible: player.errorMessage.length > 0
                InlineErrorView {
                    Layout.fillWidth: true
                    message: player.errorMessage
                }
                SecondaryButton {
                    plain: true
                    text: "Try again"
                    Accessible.description: "Loads the song again and plays it."
                    onClicked: player.retry()
                }
            }
        }
    }
}
