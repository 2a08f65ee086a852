import QtQuick
import QtQuick.Layouts
import DesignKit

// One answer to an onboarding question: its label and detail on a card, with a dot when only one
// answer counts and a check box when several may. Tab reaches it; Space or Enter picks it.
// A plain item rather than a Controls button, whose own "push button" role would hide what it is
// from assistive technology.
Rectangle {
    id: card
    property string text
    property string detail
    property bool selected: false
    property bool multiple: false
    signal clicked()

    implicitHeight: Math.max(80, content.implicitHeight + Theme.spacing.l * 2)
    radius: Theme.radius.large
    color: selected ? Theme.color.accentSoft : hover.hovered ? Theme.color.raised : Theme.color.surface
    border.width: activeFocus || selected ? 2 : 1
    border.color: activeFocus ? Theme.color.focusRing : selected ? Theme.color.accent : Theme.color.separator
    opacity: enabled ? 1 : 0.6
    scale: tap.pressed ? 0.985 : 1
    activeFocusOnTab: true
    Behavior on color { ColorAnimation { duration: Theme.motion.quick } }
    Behavior on scale { NumberAnimation { duration: Theme.motion.quick } }

    Accessible.role: multiple ? Accessible.CheckBox : Accessible.RadioButton
    Accessible.name: text
    Accessible.description: detail
    Accessible.focusable: true
    Accessible.checkable: true
    Accessible.checked: selected
    Accessible.onPressAction: if (card.enabled) card.clicked()
    Accessible.onToggleAction: if (card.enabled) card.clicked()
    Keys.onSpacePressed: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    HoverHandler { id: hover }
    TapHandler {
        id: tap
        onTapped: card.clicked()
    }

    RowLayout {
        id: content
        anchors.fill: parent
        anchors.margins: Theme.spacing.l
        spacing: Theme.spacing.m

        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.xxs
            Text {
                Layout.fillWidth: true
                text: card.text
                wrapMode: Text.WordWrap
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.headline
                font.weight: Font.DemiBold
                Accessible.ignored: true
            }
            Text {
                Layout.fillWidth: true
                text: card.detail
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                Accessible.ignored: true
            }
        }

        Rectangle {
            Layout.alignment: Qt.AlignVCenter
            implicitWidth: 22
            implicitHeight: 22
            radius: card.multiple ? Theme.radius.small : width / 2
            color: card.selected ? Theme.color.accent : "transparent"
            border.width: card.selected ? 0 : 2
            border.color: Theme.color.separator
            Behavior on color { ColorAnimation { duration: Theme.motion.quick } }

            Rectangle {
                anchors.centerIn: parent
                visible: card.selected && !card.multiple
                width: 8
                height: 8
                radius: 4
                color: Theme.color.textOnAccent
            }
            SymbolIcon {
                anchors.centerIn: parent
                visible: card.selected && card.multiple
                symbol: "checkmark"
                tint: Theme.color.textOnAccent
                size: 14
            }
        }
    }
}
