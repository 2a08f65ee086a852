import QtQuick
import QtQuick.Layouts
import DesignKit

// A sub-heading of a reading-guide section with its items as a bulleted list; hidden when empty.
ColumnLayout {
    id: list
    property string heading
    property var items: []

    visible: items.length > 0
    spacing: Theme.spacing.xs

    Text {
        Layout.fillWidth: true
        visible: list.heading.length > 0
        text: list.heading
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.headline
        font.weight: Font.DemiBold
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }
    Repeater {
        model: list.items
        delegate: Text {
            required property string modelData
            Layout.fillWidth: true
            text: "•  " + modelData
            wrapMode: Text.WordWrap
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.body
            Accessible.role: Accessible.StaticText
            Accessible.name: modelData
        }
    }
}
