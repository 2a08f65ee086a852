import QtQuick
import QtQuick.Controls
import DesignKit
import OrbeloModels

// "Loading…" while the sign-in state loads, with a reassuring line after ten seconds.
Rectangle {
    color: Theme.color.background

    LoadingViewModel { id: model }

    Column {
        anchors.centerIn: parent
        spacing: Theme.spacing.m

        BusyIndicator {
            anchors.horizontalCenter: parent.horizontalCenter
            running: true
            Accessible.name: model.message
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: model.message
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.body
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            visible: model.showSlowHint
            opacity: visible ? 1 : 0
            text: model.slowHint
            color: Theme.color.textTertiary
            font.pixelSize: Theme.font.callout
            Behavior on opacity { NumberAnimation { duration: Theme.motion.standard } }
        }
    }

    Component.onCompleted: model.start()
    Component.onDestruction: model.stop()
}
