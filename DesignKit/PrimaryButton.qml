import QtQuick
import QtQuick.Controls

// The main action of a screen: filled with the accent colour.
Button {
    id: control
    property string symbol

    implicitHeight: 40
    leftPadding: Theme.spacing.xl
    rightPadding: Theme.spacing.xl
    font.pixelSize: Theme.font.headline
    font.weight: Font.DemiBold
    Accessible.name: text
    // Qt 6.4's buttons ignore the accessibility "Press" action; handling it here lets screen
    // readers and other assistive tools press the button.
    Accessible.onPressAction: if (control.enabled) control.clicked()

    // A label longer than the button is wide (a narrow card's "Need 100 more credits to unlock")
    // shrinks to fit, down to caption size, and only then elides.
    contentItem: Item {
        implicitWidth: (icon.visible ? icon.size + row.spacing : 0) + label.implicitWidth
        implicitHeight: row.implicitHeight
        Row {
            id: row
            anchors.centerIn: parent
            spacing: Theme.spacing.s
            SymbolIcon {
                id: icon
                visible: control.symbol.length > 0
                symbol: control.symbol
                tint: Theme.color.textOnAccent
                size: 16
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                id: label
                width: Math.max(0, Math.min(implicitWidth,
                                            control.availableWidth - (icon.visible ? icon.size + row.spacing : 0)))
                text: control.text
                font: control.font
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: Theme.font.caption
                elide: Text.ElideRight
                color: Theme.color.textOnAccent
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }
    background: Rectangle {
        radius: Theme.radius.medium
        color: control.down || control.hovered ? Theme.color.accentHover : Theme.color.accent
        opacity: control.enabled ? 1 : 0.5
        border.width: control.visualFocus ? 2 : 0
        border.color: Theme.color.focusRing
        Behavior on color { ColorAnimation { duration: Theme.motion.quick } }
    }
}
