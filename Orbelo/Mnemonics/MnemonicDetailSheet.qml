import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// A mnemonic that already exists (a reward, a feed card) in full, with its image actions, over the
// window. Set the text (and a title) and call open(); Escape or "Close" close it.
Popup {
    id: sheet
    property string text
    property string title
    property string explanation

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(900, parent ? parent.width - Theme.spacing.xxl * 2 : 900)
    height: Math.min(column.implicitHeight + padding * 2, parent ? parent.height - Theme.spacing.xxl * 2 : 760)
    padding: Theme.spacing.xl
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    onOpened: closeButton.forceActiveFocus()

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
    }

    Flickable {
        id: flickable
        anchors.fill: parent
        contentHeight: column.implicitHeight
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        ColumnLayout {
            id: column
            width: flickable.width
            spacing: Theme.spacing.m
            Accessible.role: Accessible.Dialog
            Accessible.name: "Mnemonic"

            RowLayout {
                Layout.fillWidth: true
                Item { Layout.fillWidth: true }
                SecondaryButton {
                    id: closeButton
                    plain: true
                    text: "Close"
                    Accessible.description: "Closes this mnemonic."
                    onClicked: sheet.close()
                }
            }

            MnemonicDetailView {
                Layout.fillWidth: true
                text: sheet.text
                title: sheet.title
                explanation: sheet.explanation
            }
        }
    }
}
