import QtQuick
import QtQuick.Layouts
import DesignKit

// One titled card of the reading guide; its content goes below the title.
Rectangle {
    id: card
    property string title
    default property alias content: body.data

    implicitHeight: body.implicitHeight + Theme.spacing.l * 2
    radius: Theme.radius.large
    color: Theme.color.surface
    border.color: Theme.color.separator

    ColumnLayout {
        id: body
        x: Theme.spacing.l
        y: Theme.spacing.l
        width: card.width - Theme.spacing.l * 2
        spacing: Theme.spacing.s

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
