import QtQuick
import QtQuick.Controls

// A labelled text field in the app's style. The label is also the field's accessible name.
Column {
    id: field
    property alias label: caption.text
    property alias text: input.text
    property alias placeholder: input.placeholderText
    property alias echoMode: input.echoMode
    property alias inputMethodHints: input.inputMethodHints
    property alias maximumLength: input.maximumLength
    property alias validator: input.validator
    property alias input: input
    property string description
    signal accepted()
    signal edited(string text)

    spacing: Theme.spacing.xs

    Text {
        id: caption
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.callout
        font.weight: Font.Medium
        // The field carries the caption as its name, but Qt 6.4's AT-SPI bridge publishes no name
        // for password fields: there the caption is read as the field's label instead.
        readonly property bool readAsLabel: input.echoMode !== TextInput.Normal
        Accessible.role: Accessible.StaticText
        Accessible.name: readAsLabel ? text : ""
        Accessible.ignored: !readAsLabel
    }
    TextField {
        id: input
        width: field.width
        implicitHeight: 40
        leftPadding: Theme.spacing.m
        font.pixelSize: Theme.font.body
        color: Theme.color.textPrimary
        placeholderTextColor: Theme.color.textTertiary
        selectByMouse: true
        Accessible.name: caption.text
        Accessible.description: field.description
        // TextField puts its placeholder in the description once accessibility is on; put the
        // field's own description back.
        Component.onCompleted: Accessible.description = Qt.binding(() => field.description)
        onAccepted: field.accepted()
        onTextEdited: field.edited(text)
        background: Rectangle {
            radius: Theme.radius.medium
            color: Theme.color.surface
            border.width: input.activeFocus ? 2 : 1
            border.color: input.activeFocus ? Theme.color.focusRing : Theme.color.separator
        }
    }
}
