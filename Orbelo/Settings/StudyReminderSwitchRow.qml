import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// A settings row with a switch: a symbol, a title with a detail line, and the switch. The model
// owns the state; `checked` follows it, and a toggle asks for the change through toggledTo().
RowLayout {
    id: row
    required property string title
    property string detail
    property string symbol
    property bool checked
    signal toggledTo(bool on)

    Layout.fillWidth: true
    Layout.leftMargin: Theme.spacing.l
    Layout.rightMargin: Theme.spacing.l
    Layout.topMargin: Theme.spacing.m
    Layout.bottomMargin: Theme.spacing.m
    spacing: Theme.spacing.m

    SymbolIcon {
        symbol: row.symbol
        tint: Theme.color.accent
        size: 18
        Layout.preferredWidth: 18
        Layout.preferredHeight: 18
    }
    ColumnLayout {
        Layout.fillWidth: true
        spacing: Theme.spacing.xxs
        Text {
            Layout.fillWidth: true
            text: row.title
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.body
            font.weight: Font.Medium
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
    Switch {
        id: control
        checked: row.checked
        palette.dark: Theme.color.accent // the track when on
        Accessible.name: row.title
        Accessible.description: row.detail
        onToggled: row.toggledTo(checked)
        Accessible.onPressAction: row.toggledTo(!checked)
        Accessible.onToggleAction: row.toggledTo(!checked)
        // A toggle breaks the binding: keep the switch on the model's state.
        Connections {
            target: row
            function onCheckedChanged() { control.checked = row.checked }
        }
    }
}
