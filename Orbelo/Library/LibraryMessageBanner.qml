import QtQuick
import QtQuick.Layouts
import DesignKit

// The Library's message line: an error in the warning style, otherwise information, neutral.
Rectangle {
    id: banner
    property string message
    property bool warning: false
    signal dismissed()

    visible: message.length > 0
    implicitHeight: row.implicitHeight + Theme.spacing.s * 2
    radius: Theme.radius.small
    color: warning ? Theme.color.warningSoft : Theme.color.raised
    Accessible.role: warning ? Accessible.AlertMessage : Accessible.StaticText
    Accessible.name: message

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: Theme.spacing.m
        anchors.rightMargin: Theme.spacing.xs
        spacing: Theme.spacing.s
        SymbolIcon {
            symbol: banner.warning ? "exclamationmark.triangle" : "checkmark"
            tint: banner.warning ? Theme.color.warning : Theme.color.textSecondary
            size: 16
        }
        Text {
            Layout.fillWidth: true
            text: banner.message
            wrapMode: Text.WordWrap
            color: banner.warning ? Theme.color.warning : Theme.color.textPrimary
            font.pixelSize: Theme.font.callout
        }
        SecondaryButton {
            plain: true
            text: "Dismiss"
            Accessible.description: "Hides this message"
            onClicked: banner.dismissed()
        }
    }
}
