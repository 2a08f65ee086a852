import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// One notification: its title, message and age, with a dot while it is unread. Enter or a click
// opens it.
ItemDelegate {
    id: row
    required property int index
    required property string title
    required property string message
    required property bool isUnread
    required property string timeText
    required property string accessibleName
    signal openRequested()

    implicitHeight: Math.max(64, content.implicitHeight + Theme.spacing.m * 2)
    focusPolicy: Qt.StrongFocus
    hoverEnabled: true
    Accessible.role: Accessible.ListItem
    Accessible.name: accessibleName
    Accessible.description: timeText.length > 0 ? timeText + ". Opens what it is about" : "Opens what it is about"
    Accessible.onPressAction: row.openRequested()
    onClicked: row.openRequested()
    // Arrow keys then move on from the row that has the focus.
    onActiveFocusChanged: if (activeFocus) ListView.view.currentIndex = index
    Keys.onReturnPressed: row.openRequested()
    Keys.onEnterPressed: row.openRequested()

    background: Rectangle {
        radius: Theme.radius.medium
        color: row.hovered || row.activeFocus ? Theme.color.raised : "transparent"
        border.width: row.visualFocus ? 2 : 0
        border.color: Theme.color.focusRing
    }

    contentItem: RowLayout {
        id: content
        spacing: Theme.spacing.m
        Rectangle {
            objectName: "unreadMarker"
            Layout.preferredWidth: 8
            Layout.preferredHeight: 8
            Layout.alignment: Qt.AlignTop
            Layout.topMargin: Theme.spacing.s
            radius: 4
            color: row.isUnread ? Theme.color.accent : "transparent"
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.xxs
            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.s
                Text {
                    Layout.fillWidth: true
                    text: row.title
                    elide: Text.ElideRight
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    font.weight: row.isUnread ? Font.DemiBold : Font.Normal
                }
                Text {
                    visible: text.length > 0
                    text: row.timeText
                    color: Theme.color.textTertiary
                    font.pixelSize: Theme.font.caption
                }
            }
            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: row.message
                wrapMode: Text.WordWrap
                maximumLineCount: 3
                elide: Text.ElideRight
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
            }
        }
        SymbolIcon {
            symbol: "chevron.right"
            tint: Theme.color.textTertiary
            size: 16
        }
    }
}
