import QtQuick
import DesignKit
import OrbeloModels

// The guide's advice on using its cards, above them: a light bulb and "Tip: " before the text.
Rectangle {
    id: view
    required property string summary

    implicitHeight: row.implicitHeight + Theme.spacing.m * 2
    radius: Theme.radius.medium
    color: MnemonicAccentStyle.background("yellow", Theme.dark)
    border.color: MnemonicAccentStyle.accent("yellow", Theme.dark)
    Accessible.role: Accessible.StaticText
    Accessible.name: "Tip: " + summary

    Row {
        id: row
        x: Theme.spacing.m
        y: Theme.spacing.m
        width: view.width - Theme.spacing.m * 2
        spacing: Theme.spacing.s
        SymbolIcon {
            symbol: "lightbulb"
            tint: MnemonicAccentStyle.text("yellow", Theme.dark)
            size: 18
        }
        Text {
            width: parent.width - 18 - parent.spacing
            text: "<b>Tip: </b>" + view.summary.replace(/&/g, "&amp;").replace(/</g, "&lt;")
            textFormat: Text.StyledText
            wrapMode: Text.Wrap
            color: MnemonicAccentStyle.text("yellow", Theme.dark)
            font.pixelSize: Theme.font.body
            Accessible.ignored: true
        }
    }
}
