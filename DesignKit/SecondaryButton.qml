import QtQuick
import QtQuick.Controls

// A quieter action next to a primary one, or a text link when `plain` is set.
Button {
    id: control
    property bool plain: false

    implicitHeight: plain ? 28 : 40
    leftPadding: plain ? Theme.spacing.xs : Theme.spacing.l
    rightPadding: plain ? Theme.spacing.xs : Theme.spacing.l
    font.pixelSize: plain ? Theme.font.callout : Theme.font.headline
    font.weight: Font.Medium
    Accessible.name: text
    // Qt 6.4's buttons ignore the accessibility "Press" action (see PrimaryButton).
    Accessible.onPressAction: if (control.enabled) control.clicked()

    contentItem: Text {
        text: control.text
        font.pixelSize: control.font.pixelSize
        font.weight: control.font.weight
        font.underline: control.plain && control.hovered
        color: Theme.color.accent
        opacity: control.enabled ? 1 : 0.5
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        radius: Theme.radius.medium
        color: control.plain ? "transparent" : (control.hovered ? Theme.color.accentSoft : Theme.color.raised)
        border.width: control.visualFocus ? 2 : 0
        border.color: Theme.color.focusRing
    }
}
