import QtQuick
import QtQuick.Layouts
import DesignKit

// The heading of a group of fields in the course sheets.
Text {
    Layout.fillWidth: true
    Layout.topMargin: Theme.spacing.s
    color: Theme.color.textPrimary
    font.pixelSize: Theme.font.headline
    font.weight: Font.DemiBold
    Accessible.role: Accessible.Heading
    Accessible.name: text
}
