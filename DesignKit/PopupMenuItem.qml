import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A row of a PopupMenu: an optional symbol, the label, and the key sequence on the right.
// Hover and keyboard highlight use the accent tint; a disabled row is dimmed.
MenuItem {
    id: item
    property string symbol
    property string shortcutText

    readonly property color tint: item.highlighted && item.enabled ? Theme.color.accent
                                                                   : Theme.color.textPrimary

    implicitHeight: 34
    leftPadding: Theme.spacing.m
    rightPadding: Theme.spacing.m
    topPadding: 0
    bottomPadding: 0
    spacing: Theme.spacing.s
    font.pixelSize: Theme.font.body

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
        spacing: item.spacing
        opacity: item.enabled ? 1 : 0.45

        SymbolIcon {
            visible: item.symbol.length > 0
            symbol: item.symbol
            tint: item.tint
            size: 16
            Layout.preferredWidth: size
            Layout.preferredHeight: size
        }
        Text {
            Layout.fillWidth: true
            text: item.text
            font: item.font
            color: item.tint
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
        }
        Text {
            visible: item.shortcutText.length > 0
            Layout.leftMargin: Theme.spacing.l
            text: item.shortcutText
            font.pixelSize: Theme.font.callout
            color: item.highlighted && item.enabled ? Theme.color.accent : Theme.color.textTertiary
            verticalAlignment: Text.AlignVCenter
        }
    }

    background: Rectangle {
        implicitWidth: 200
        radius: Theme.radius.small
        color: !item.enabled || !item.highlighted ? "transparent"
               : item.down ? Qt.darker(Theme.color.accentSoft, Theme.dark ? 0.85 : 1.05)
                           : Theme.color.accentSoft
    }
}
