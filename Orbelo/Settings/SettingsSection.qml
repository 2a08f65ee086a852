import QtQuick
import QtQuick.Layouts
import DesignKit

// One titled group of rows on the settings screen, drawn as a card.
ColumnLayout {
    id: section
    required property string title
    property bool danger: false
    default property alias rows: card.data

    spacing: Theme.spacing.s

    Text {
        text: section.title
        color: section.danger ? Theme.color.danger : Theme.color.textSecondary
        font.pixelSize: Theme.font.callout
        font.weight: Font.DemiBold
        font.capitalization: Font.AllUppercase
        font.letterSpacing: 0.6
        Accessible.role: Accessible.Heading
        Accessible.name: section.title
    }
    Rectangle {
        Layout.fillWidth: true
        implicitHeight: card.implicitHeight
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: section.danger ? Theme.color.dangerSoft : Theme.color.separator

        ColumnLayout {
            id: card
            width: parent.width
            spacing: 0
        }
    }
}
