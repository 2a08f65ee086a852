import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// A row of the settings screen: a symbol, a title with an optional detail line, a value on the
// right and a trailing mark. Rows that do something are buttons (Enter or Space activates them);
// `interactive: false` makes a read-only row.
AbstractButton {
    id: row
    property string symbol
    property string detail
    property string value
    property bool interactive: true
    property bool danger: false
    // "chevron", "external" or "" for none.
    property string trailing: interactive ? "chevron" : ""

    Layout.fillWidth: true
    implicitHeight: Math.max(52, content.implicitHeight + Theme.spacing.m * 2)
    focusPolicy: interactive ? Qt.StrongFocus : Qt.NoFocus
    hoverEnabled: interactive
    enabled: true
    Accessible.role: interactive ? Accessible.Button : Accessible.StaticText
    Accessible.name: value.length > 0 ? text + ": " + value : text
    Accessible.description: detail
    // Qt 6.4's buttons ignore the accessibility "Press" action; answering it lets assistive
    // tools press the row.
    Accessible.onPressAction: if (interactive && enabled) clicked()
    Keys.onReturnPressed: if (interactive) clicked()
    Keys.onEnterPressed: if (interactive) clicked()

    background: Rectangle {
        radius: Theme.radius.large
        color: row.interactive && (row.hovered || row.down) ? Theme.color.raised : "transparent"
        border.width: row.visualFocus ? 2 : 0
        border.color: Theme.color.focusRing
    }

    contentItem: RowLayout {
        id: content
        spacing: Theme.spacing.m
        SymbolIcon {
            visible: row.symbol.length > 0
            symbol: row.symbol
            tint: row.danger ? Theme.color.danger : Theme.color.accent
            size: 18
            Layout.preferredWidth: 18
            Layout.preferredHeight: 18
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.xxs
            Text {
                Layout.fillWidth: true
                text: row.text
                color: row.danger ? Theme.color.danger : Theme.color.textPrimary
                font.pixelSize: Theme.font.body
                font.weight: Font.Medium
                elide: Text.ElideRight
            }
            Text {
                Layout.fillWidth: true
                visible: row.detail.length > 0
                text: row.detail
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.caption
                wrapMode: Text.WordWrap
            }
        }
        Text {
            visible: row.value.length > 0
            text: row.value
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.body
            elide: Text.ElideMiddle
            Layout.maximumWidth: 320
        }
        SymbolIcon {
            visible: row.trailing.length > 0
            symbol: row.trailing === "external" ? "arrow.up.right.square" : "chevron.right"
            tint: Theme.color.textTertiary
            size: 16
            Layout.preferredWidth: 16
            Layout.preferredHeight: 16
        }
    }
    leftPadding: Theme.spacing.l
    rightPadding: Theme.spacing.l
}
