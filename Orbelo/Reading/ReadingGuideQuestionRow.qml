import QtQuick
import QtQuick.Layouts
import DesignKit

// A comprehension question with a "Show answer" / "Hide answer" toggle revealing the expected answer.
ColumnLayout {
    id: row
    property string question
    property string answer
    property int number: 1
    property bool revealed: false

    spacing: Theme.spacing.xs

    Text {
        Layout.fillWidth: true
        text: row.number + ". " + row.question
        wrapMode: Text.WordWrap
        color: Theme.color.textPrimary
        font.pixelSize: Theme.font.body
        font.weight: Font.Medium
        Accessible.role: Accessible.StaticText
        Accessible.name: row.question
    }
    SecondaryButton {
        visible: row.answer.length > 0
        plain: true
        text: row.revealed ? "Hide answer" : "Show answer"
        Accessible.description: row.revealed ? "Hides the expected answer." : "Shows the expected answer."
        onClicked: row.revealed = !row.revealed
    }
    Text {
        Layout.fillWidth: true
        visible: row.revealed
        text: row.answer
        wrapMode: Text.WordWrap
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.callout
        Accessible.role: Accessible.StaticText
        Accessible.name: row.answer
    }
}
