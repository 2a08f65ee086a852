import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// A sheet for a screen that is not built yet: it says so plainly. Escape or "Done" closes it.
Popup {
    id: sheet
    required property QtObject shell
    required property int tab
    property bool shown: false
    signal dismissed()

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 520
    height: 420
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
        Accessible.name: sheet.shell.label(sheet.tab)

        Text {
            text: sheet.shell.label(sheet.tab)
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title
            font.weight: Font.Bold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        EmptyStateView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            symbol: sheet.shell.symbol(sheet.tab)
            title: sheet.shell.label(sheet.tab) + " is coming soon"
            message: sheet.shell.comingSoonMessage(sheet.tab)
        }
        PrimaryButton {
            Layout.alignment: Qt.AlignRight
            text: "Done"
            onClicked: sheet.close()
            Keys.onReturnPressed: sheet.close()
        }
    }
}
