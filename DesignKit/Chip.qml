import QtQuick
import QtQuick.Controls

// A pill that shows whether its choice is selected, read by assistive tools as a check box. It
// does not toggle itself: the owner binds `selected` and acts on `clicked`, so one choice shown in
// several places stays in step. Space or Enter presses it when it has focus.
CheckBox {
    id: chip
    property bool selected: false

    checked: selected
    // Keep the state where the owner put it; `clicked` tells the owner to change it.
    nextCheckState: function() { return checkState }

    implicitHeight: 34
    implicitWidth: label.implicitWidth + leftPadding + rightPadding
    leftPadding: selected ? Theme.spacing.m + 18 : Theme.spacing.m
    rightPadding: Theme.spacing.m
    topPadding: 0
    bottomPadding: 0
    spacing: 0
    focusPolicy: Qt.StrongFocus
    hoverEnabled: true
    font.pixelSize: Theme.font.callout
    font.weight: selected ? Font.DemiBold : Font.Normal

    Accessible.name: text
    // Qt 6.4 ignores the accessibility "Press" and "Toggle" actions on its own buttons; both
    // press the chip here, as a click would.
    Accessible.onPressAction: if (enabled) clicked()
    Accessible.onToggleAction: if (enabled) clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    indicator: SymbolIcon {
        visible: chip.selected
        symbol: "checkmark"
        tint: Theme.color.accent
        size: 14
        x: Theme.spacing.m
        y: (chip.height - height) / 2
    }
    contentItem: Text {
        id: label
        text: chip.text
        font: chip.font
        color: chip.selected ? Theme.color.accent : Theme.color.textPrimary
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        implicitHeight: 34
        radius: Theme.radius.pill
        color: chip.selected ? Theme.color.accentSoft : (chip.hovered ? Theme.color.raised : Theme.color.surface)
        border.width: chip.visualFocus ? 2 : 1
        border.color: chip.visualFocus ? Theme.color.focusRing
                      : chip.selected ? Theme.color.accent : Theme.color.separator
        Behavior on color { ColorAnimation { duration: Theme.motion.quick } }
    }
}
