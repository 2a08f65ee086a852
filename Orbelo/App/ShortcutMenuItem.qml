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
    // Qt 6.4's menu items ignore the accessibility "Press" action.
    Accessible.onPressAction: {
        if (!enabled)
            return
        if (action)
            action.trigger(item)
        else
            clicked()
    }

    contentItem: RowLayout {
        spacing: Theme.spacing.xl
        Text {
            Layout.fillWidth: true
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
