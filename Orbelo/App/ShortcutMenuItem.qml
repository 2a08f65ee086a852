import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// A menu item that shows its key sequence on the right, as desktop menus do.
MenuItem {
    id: item
    property string shortcutText

    Accessible.name: text
    Accessible.description: shortcutText.length > 0 ? "Shortcut " + shortcutText : ""

    contentItem: RowLayout {
        spacing: Theme.spacing.xl
        Text {
            Layout.fillWidth: true
            leftPadding: item.leftPadding
            text: item.text
            font: item.font
            color: item.enabled ? Theme.color.textPrimary : Theme.color.textTertiary
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
        }
        Text {
            visible: item.shortcutText.length > 0
            text: item.shortcutText
            font.pixelSize: item.font.pixelSize
            color: Theme.color.textSecondary
            verticalAlignment: Text.AlignVCenter
        }
    }
}
