import QtQuick
import DesignKit

// The caption in front of a field of the mnemonic form; the field carries the same accessible name.
Text {
    color: Theme.color.textSecondary
    font.pixelSize: Theme.font.callout
    font.weight: Font.Medium
    Accessible.ignored: true
}
