import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// The account menu's notifications: the inbox as a sheet, which closes once a notification has
// been opened. Escape or "Done" closes it.
Popup {
    id: sheet
    property bool shown: false
    signal dismissed()

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 560
    height: Math.min(620, parent ? parent.height - Theme.spacing.xxl * 2 : 620)
    modal: true
    focus: true
    onShownChanged: shown ? open() : close()
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
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
        Accessible.name: "Notifications"

        // Created on each opening, so the list loads afresh.
        Loader {
            Layout.fillWidth: true
            Layout.fillHeight: true
            active: sheet.visible
            sourceComponent: NotificationsView {
                showsTitle: true
                onOpened: sheet.close()
            }
        }
        PrimaryButton {
            Layout.alignment: Qt.AlignRight
            text: "Done"
            onClicked: sheet.close()
            Keys.onReturnPressed: sheet.close()
        }
    }
}
