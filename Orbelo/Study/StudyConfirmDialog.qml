import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// Asks before an action that cannot be taken back. "Cancel" has the focus, so Enter alone never
// confirms; Escape, Cancel and a click outside all answer no.
Popup {
    id: dialog
    property string title
    property string message
    property string actionText
    signal confirmed()
    signal cancelled()

    property bool answered: false

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 440
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    padding: Theme.spacing.xl
    onAboutToShow: answered = false
    onOpened: cancel.forceActiveFocus()
    onClosed: if (!answered) dialog.cancelled()

    function answer(yes) {
        answered = true
        close()
        if (yes)
            confirmed()
        else
            cancelled()
    }

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
    }

    ColumnLayout {
        width: parent.width
        spacing: Theme.spacing.m
        Accessible.role: Accessible.Dialog
        Accessible.name: dialog.title

        Text {
            Layout.fillWidth: true
            text: dialog.title
            wrapMode: Text.WordWrap
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title2
            font.weight: Font.Bold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            Layout.fillWidth: true
            text: dialog.message
            wrapMode: Text.WordWrap
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.body
            lineHeight: 1.15
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
                Accessible.description: "Keeps things as they are."
                onClicked: dialog.answer(false)
                Keys.onReturnPressed: dialog.answer(false)
                Keys.onEnterPressed: dialog.answer(false)
            }
            Button {
                id: action
                text: dialog.actionText
                implicitHeight: 40
                leftPadding: Theme.spacing.xl
                rightPadding: Theme.spacing.xl
                font.pixelSize: Theme.font.headline
                font.weight: Font.DemiBold
                Accessible.name: text
                onClicked: dialog.answer(true)
                Accessible.onPressAction: clicked()
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                contentItem: Text {
                    text: action.text
                    font: action.font
                    color: "#FFFFFF"
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    radius: Theme.radius.medium
                    color: Theme.color.danger
                    opacity: action.down || action.hovered ? 0.85 : 1
                    border.width: action.visualFocus ? 2 : 0
                    border.color: Theme.color.focusRing
                }
            }
        }
    }
}
