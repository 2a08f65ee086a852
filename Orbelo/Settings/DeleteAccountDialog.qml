import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// Asks before deleting the account: "Cancel" (also Escape, and the default) or "Delete".
Popup {
    id: dialog
    signal confirmed()

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 440
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    padding: Theme.spacing.xl
    onOpened: cancel.forceActiveFocus()

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
    }

    ColumnLayout {
        width: parent.width
        spacing: Theme.spacing.m
        Accessible.role: Accessible.Dialog
        Accessible.name: "Delete Account"

        Text {
            text: "Delete Account?"
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title2
            font.weight: Font.Bold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            Layout.fillWidth: true
            text: "Your courses, documents, study history and sign-in are removed for good. This cannot be undone."
            wrapMode: Text.WordWrap
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.body
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            Layout.topMargin: Theme.spacing.s
            spacing: Theme.spacing.s
            SecondaryButton {
                id: cancel
                text: "Cancel"
                onClicked: dialog.close()
                Keys.onReturnPressed: dialog.close()
            }
            Button {
                id: remove
                text: "Delete"
                implicitHeight: 40
                leftPadding: Theme.spacing.xl
                rightPadding: Theme.spacing.xl
                font.pixelSize: Theme.font.headline
                font.weight: Font.DemiBold
                Accessible.name: text
                Accessible.description: "Permanently deletes your account"
                onClicked: { dialog.close(); dialog.confirmed() }
                Accessible.onPressAction: clicked()
                Keys.onReturnPressed: clicked()
                contentItem: Text {
                    text: remove.text
                    font: remove.font
                    color: "#FFFFFF"
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    radius: Theme.radius.medium
                    color: Theme.color.danger
                    opacity: remove.down || remove.hovered ? 0.85 : 1
                    border.width: remove.visualFocus ? 2 : 0
                    border.color: Theme.color.focusRing
                }
            }
        }
    }
}
