import QtQuick
import QtQuick.Controls
import DesignKit

// One answer of a choice question, with its key letter; read as a radio button that is checked
// when it is the answer chosen. A RadioButton underneath, because Qt Quick's controls publish their
// own role to accessibility tools whatever Accessible.role says.
RadioButton {
    id: control
    required property int position
    property bool selected: false
    readonly property string letter: "ABCD".charAt(position)

    implicitHeight: Math.max(52, label.implicitHeight + Theme.spacing.m * 2)
    hoverEnabled: true
    focusPolicy: Qt.TabFocus
    checkable: false
    autoExclusive: false
    checked: selected
    padding: 0
    spacing: 0
    indicator: null
    Accessible.role: Accessible.RadioButton
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: selected
    Accessible.description: position < 4
                            ? "Chooses this answer. Shortcut: " + letter + " or " + (position + 1) + "."
                            : "Chooses this answer."
    Accessible.onPressAction: clicked()

    contentItem: Row {
        spacing: Theme.spacing.m
        leftPadding: Theme.spacing.m
        Rectangle {
            width: 28
            height: 28
            radius: 14
            anchors.verticalCenter: parent.verticalCenter
            color: control.selected ? Theme.color.accent : Theme.color.raised
            visible: control.position < 4
            Text {
                anchors.centerIn: parent
                text: control.letter
                color: control.selected ? Theme.color.textOnAccent : Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                font.weight: Font.DemiBold
            }
        }
        Text {
            id: label
            width: control.width - 28 - Theme.spacing.m * 3
            anchors.verticalCenter: parent.verticalCenter
            text: control.text
            wrapMode: Text.WordWrap
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.body
            font.weight: control.selected ? Font.DemiBold : Font.Normal
        }
    }
    background: Rectangle {
        radius: Theme.radius.medium
        color: control.selected ? Theme.color.accentSoft : control.hovered ? Theme.color.raised : Theme.color.surface
        border.width: control.visualFocus || control.selected ? 2 : 1
        border.color: control.visualFocus ? Theme.color.focusRing
                      : control.selected ? Theme.color.accent : Theme.color.separator
        Behavior on color { ColorAnimation { duration: Theme.motion.quick } }
    }
}
