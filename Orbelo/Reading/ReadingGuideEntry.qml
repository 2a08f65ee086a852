import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// The entry to a reading guide: Cornell notes, vocabulary and comprehension questions.
AbstractButton {
    id: entry

    implicitHeight: row.implicitHeight + Theme.spacing.m * 2
    Accessible.role: Accessible.Button
    Accessible.name: "Reading guide"
    Accessible.description: "Cornell notes, vocabulary & comprehension questions"
    Accessible.onPressAction: entry.clicked()

    background: Rectangle {
        radius: Theme.radius.large
        color: entry.hovered ? Theme.color.accentSoft : Theme.color.surface
        border.width: entry.visualFocus ? 2 : 1
        border.color: entry.visualFocus ? Theme.color.focusRing : Theme.color.separator
    }
    contentItem: Item {
        implicitHeight: row.implicitHeight
        RowLayout {
            id: row
            x: Theme.spacing.l
            width: parent.width - Theme.spacing.l * 2
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.spacing.m
            SymbolIcon {
                symbol: "book.pages"
                tint: Theme.color.accent
                size: 22
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.xxs
                Text {
                    text: "Reading guide"
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.DemiBold
                    Accessible.ignored: true
                }
                Text {
                    Layout.fillWidth: true
                    text: "Cornell notes, vocabulary & comprehension questions"
                    wrapMode: Text.WordWrap
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                    Accessible.ignored: true
                }
            }
            SymbolIcon {
                symbol: "chevron.right"
                tint: Theme.color.textTertiary
            }
        }
    }
}
