import QtQuick
import QtQuick.Controls
import DesignKit

// A study control with a keyboard key: the key is in its tooltip and in its accessible
// description, after what the control does.
SecondaryButton {
    id: control
    property string key
    property string description

    hoverEnabled: true
    focusPolicy: Qt.TabFocus
    Accessible.description: description + (key.length > 0 ? " Shortcut: " + key + "." : "")
    ToolTip.visible: hovered
    ToolTip.delay: 400
    ToolTip.text: key.length > 0 ? text + " (" + key + ")" : text
}
