import QtQuick
import QtQuick.Layouts
import DesignKit

// One scheduled event under its day: time on the left, title, course and description beside it.
// Tab reaches it; a screen reader hears the day, the title and the time in one line.
Rectangle {
    id: row
    required property var entry

    implicitHeight: content.implicitHeight + Theme.spacing.s * 2
    radius: Theme.radius.small
    color: activeFocus ? Theme.color.accentSoft : Theme.color.raised
    border.width: activeFocus ? 2 : 0
    border.color: Theme.color.focusRing
    activeFocusOnTab: true
    Accessible.role: Accessible.ListItem
    Accessible.name: entry.accessibleName
    Accessible.description: entry.description
    Accessible.focusable: true

    RowLayout {
        id: content
        x: Theme.spacing.m
        y: Theme.spacing.s
        width: row.width - Theme.spacing.m * 2
        spacing: Theme.spacing.m

        Text {
            Layout.preferredWidth: 104
            Layout.alignment: Qt.AlignTop
            text: row.entry.time
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.callout
            Accessible.ignored: true
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.xxs
            Text {
                Layout.fillWidth: true
                text: row.entry.title
                wrapMode: Text.WordWrap
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.body
                font.weight: Font.Medium
                Accessible.ignored: true
            }
            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: row.entry.course
                color: Theme.color.accent
                font.pixelSize: Theme.font.caption
                font.weight: Font.DemiBold
                Accessible.ignored: true
            }
            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: row.entry.description
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.caption
                Accessible.ignored: true
            }
        }
    }
}
