import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// The settings screen as the account menu's sheet. Escape or "Done" closes it.
Popup {
    id: sheet
    property bool shown: false
    signal dismissed()

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(820, parent ? parent.width - Theme.spacing.xxl * 2 : 820)
    height: Math.min(820, parent ? parent.height - Theme.spacing.xxl * 2 : 820)
    padding: 0
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    onShownChanged: shown ? open() : close()
    onClosed: dismissed()

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.background
        border.color: Theme.color.separator
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0
        Accessible.role: Accessible.Dialog
        Accessible.name: "Settings"

        Loader {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.topMargin: Theme.spacing.l
            active: sheet.visible
            sourceComponent: SettingsView { showsTitle: true }
        }
        Rectangle { Layout.fillWidth: true; Layout.preferredHeight: 1; color: Theme.color.separator }
        PrimaryButton {
            Layout.alignment: Qt.AlignRight
            Layout.margins: Theme.spacing.l
            text: "Done"
            onClicked: sheet.close()
            Keys.onReturnPressed: sheet.close()
        }
    }
}
