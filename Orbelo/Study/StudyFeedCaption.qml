import QtQuick
import QtQuick.Layouts
import DesignKit

// The line beside a calendar feed action that says what it does; the action carries the same
// words as its accessible description, so readers skip this copy.
Text {
    Layout.fillWidth: true
    Layout.alignment: Qt.AlignVCenter
    wrapMode: Text.WordWrap
    color: Theme.color.textSecondary
    font.pixelSize: Theme.font.callout
    Accessible.ignored: true
}
