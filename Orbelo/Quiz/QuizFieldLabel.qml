import QtQuick
import DesignKit

// The caption beside a setup control; the control carries the same text as its name.
Text {
    color: Theme.color.textPrimary
    font.pixelSize: Theme.font.body
    Accessible.ignored: true
}
