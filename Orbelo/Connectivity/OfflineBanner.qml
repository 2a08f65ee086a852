import QtQuick
import DesignKit

// One line at the top edge while the machine is offline, read as one element.
Rectangle {
    implicitHeight: 36
    color: Theme.color.warningSoft
    Accessible.role: Accessible.StaticText
    Accessible.name: label.text

    Row {
        anchors.centerIn: parent
        spacing: Theme.spacing.s
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            symbol: "wifi.slash"
            tint: Theme.color.warning
            size: 16
        }
        Text {
            id: label
            anchors.verticalCenter: parent.verticalCenter
            text: "You're offline — some features may not work."
            color: Theme.color.warning
            font.pixelSize: Theme.font.callout
            font.weight: Font.Medium
            Accessible.ignored: true
        }
    }
}
