import QtQuick
import QtQuick.Layouts
import DesignKit

// One card of the Study tab: a symbol and a heading over the card's own content.
Rectangle {
    id: card
    required property string title
    property string symbol
    default property alias content: body.data

    implicitHeight: body.implicitHeight + Theme.spacing.l * 2
    radius: Theme.radius.large
    color: Theme.color.surface
    border.color: Theme.color.separator
    Accessible.role: Accessible.Grouping
    Accessible.name: title

    ColumnLayout {
        id: body
        x: Theme.spacing.l
        y: Theme.spacing.l
        width: card.width - Theme.spacing.l * 2
        spacing: Theme.spacing.m

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.s
            SymbolIcon {
                visible: card.symbol.length > 0
                symbol: card.symbol
                tint: Theme.color.accent
            }
            Text {
                Layout.fillWidth: true
                text: card.title
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title2
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
        }
    }
}
