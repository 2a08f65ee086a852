import QtQuick

// A calm, centred message for a screen that has nothing to show (yet).
Item {
    id: view
    property string symbol: "tray"
    property string title
    property string message

    Accessible.role: Accessible.StaticText
    Accessible.name: message.length > 0 ? title + ". " + message : title

    Column {
        anchors.centerIn: parent
        width: Math.min(parent.width - Theme.spacing.xxl * 2, 420)
        spacing: Theme.spacing.m

        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 72
            height: 72
            radius: 36
            color: Theme.color.accentSoft
            SymbolIcon {
                anchors.centerIn: parent
                symbol: view.symbol
                tint: Theme.color.accent
                size: 32
            }
        }
        Text {
            width: parent.width
            text: view.title
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title2
            font.weight: Font.DemiBold
            Accessible.ignored: true
        }
        Text {
            width: parent.width
            visible: text.length > 0
            text: view.message
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.body
            lineHeight: 1.2
            Accessible.ignored: true
        }
    }
}
