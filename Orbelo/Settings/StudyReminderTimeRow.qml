import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// One reminder time: "Time n", hour and minute spin boxes (24-hour clock; arrows and typing both
// work), and its remove button.
RowLayout {
    id: row
    required property string label
    required property int hour
    required property int minute
    property bool canRemove: true
    signal timeChosen(int hour, int minute)
    signal removeRequested()

    Layout.fillWidth: true
    Layout.leftMargin: Theme.spacing.l
    Layout.rightMargin: Theme.spacing.l
    Layout.topMargin: Theme.spacing.s
    Layout.bottomMargin: Theme.spacing.s
    spacing: Theme.spacing.s

    SymbolIcon {
        symbol: "clock"
        tint: Theme.color.accent
        size: 18
        Layout.preferredWidth: 18
        Layout.preferredHeight: 18
    }
    Text {
        Layout.fillWidth: true
        text: row.label
        color: Theme.color.textPrimary
        font.pixelSize: Theme.font.body
        font.weight: Font.Medium
    }
    SpinBox {
        from: 0
        to: 23
        value: row.hour
        editable: true
        wrap: true
        textFromValue: (value) => String(value).padStart(2, "0")
        valueFromText: (text) => parseInt(text, 10)
        Accessible.name: row.label + " hour"
        Accessible.description: "The hour of this reminder, from 0 to 23."
        onValueModified: row.timeChosen(value, row.minute)
    }
    Text {
        text: ":"
        color: Theme.color.textPrimary
        font.pixelSize: Theme.font.body
    }
    SpinBox {
        from: 0
        to: 59
        value: row.minute
        editable: true
        wrap: true
        textFromValue: (value) => String(value).padStart(2, "0")
        valueFromText: (text) => parseInt(text, 10)
        Accessible.name: row.label + " minute"
        Accessible.description: "The minute of this reminder, from 0 to 59."
        onValueModified: row.timeChosen(row.hour, value)
    }
    SecondaryButton {
        plain: true
        text: "Remove"
        enabled: row.canRemove
        Accessible.name: "Remove " + row.label.toLowerCase()
        Accessible.description: "Deletes this reminder from your daily schedule."
        onClicked: row.removeRequested()
    }
}
