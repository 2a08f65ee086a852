import QtQuick
import QtQuick.Controls
import DesignKit
import OrbeloModels

// "Loading…" while the sign-in state loads, with a reassuring line after ten seconds, and word of
// a locked keyring when that is what the wait is for.
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
        Column {
            anchors.horizontalCenter: parent.horizontalCenter
            visible: model.showKeyringPrompt
            spacing: Theme.spacing.m
            onVisibleChanged: if (visible) continueButton.forceActiveFocus()

            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                width: Math.min(implicitWidth, 460)
                wrapMode: Text.WordWrap
                horizontalAlignment: Text.AlignHCenter
                text: model.keyringMessage
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.AlertMessage
                Accessible.name: text
            }
            SecondaryButton {
                id: continueButton
                anchors.horizontalCenter: parent.horizontalCenter
                text: model.continueWithoutKeyringLabel
                Accessible.description: "Signs you in for this run only; you will sign in again next time"
                onClicked: model.continueWithoutKeyring()
                Keys.onReturnPressed: model.continueWithoutKeyring()
            }
        }
    }

    Component.onCompleted: model.start()
    Component.onDestruction: model.stop()
}
