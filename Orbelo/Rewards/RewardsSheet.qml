import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// The Rewards screen as a sheet, opened from the Library toolbar and the account menu
// (the app context's rewardsRequested). Escape or "Done" closes it.
Popup {
    id: sheet
    property bool shown: false
    signal dismissed()

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(900, parent ? parent.width - Theme.spacing.xxl * 2 : 900)
    height: Math.min(720, parent ? parent.height - Theme.spacing.xxl * 2 : 720)
    modal: true
    focus: true
    onShownChanged: shown ? open() : close()
    closePolicy: Popup.CloseOnEscape
    onClosed: dismissed()

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: Theme.spacing.xl
        spacing: Theme.spacing.m
        Accessible.role: Accessible.Dialog
        Accessible.name: "Rewards"

        // Created on each opening, so the balance and rewards load afresh.
        Loader {
            Layout.fillWidth: true
            Layout.fillHeight: true
            active: sheet.visible
            sourceComponent: RewardsView { showsTitle: true }
        }
        PrimaryButton {
            Layout.alignment: Qt.AlignRight
            text: "Done"
            onClicked: sheet.close()
            Keys.onReturnPressed: sheet.close()
        }
    }
}
