import QtQuick
import QtQuick.Controls

// "Refresh" for a screen that can load again: the same as View → Refresh (Ctrl+R), which its
// tooltip names. The screen decides when it is enabled and what a click loads.
SecondaryButton {
    id: control
    text: "Refresh"
    Accessible.name: "Refresh"
    Accessible.description: "Loads this again (Ctrl+R)"
    ToolTip.visible: hovered
    ToolTip.delay: 600
    ToolTip.text: "Refresh (Ctrl+R)"
}
