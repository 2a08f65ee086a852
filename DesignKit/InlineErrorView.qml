import QtQuick

// One line of error text inside a form or a screen, with its icon; read as one element.
Rectangle {
    id: view
    property string message

    visible: message.length > 0
    implicitHeight: row.implicitHeight + Theme.spacing.s * 2
    radius: Theme.radius.small
    color: Theme.color.dangerSoft
    Accessible.role: Accessible.AlertMessage
    Accessible.name: message

    Row {
        id: row
        x: Theme.spacing.m
        y: Theme.spacing.s
        width: parent.width - Theme.spacing.m * 2
        spacing: Theme.spacing.s
        SymbolIcon {
            symbol: "exclamationmark.circle"
            tint: Theme.color.danger
            size: 16
        }
        Text {
            width: parent.width - 24
            text: view.message
            wrapMode: Text.WordWrap
            color: Theme.color.danger
            font.pixelSize: Theme.font.callout
            Accessible.ignored: true
        }
    }
}
