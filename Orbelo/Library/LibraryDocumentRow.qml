import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// One document of the Library: type symbol, title and processing state. Enter or a click opens a
// ready document; Delete or the context menu's "Delete" removes it.
ItemDelegate {
    id: row
    required property int index
    required property string documentId
    required property string title
    required property string symbol
    required property string processingState
    required property string stateText
    required property string accessibleDescription
    signal openRequested()
    signal deleteRequested()

    implicitHeight: 60
    focusPolicy: Qt.StrongFocus
    hoverEnabled: true
    Accessible.role: Accessible.ListItem
    Accessible.name: stateText.length > 0 ? title + ", " + stateText : title
    Accessible.description: accessibleDescription
    Accessible.onPressAction: row.openRequested()
    onClicked: row.openRequested()
    // Arrow keys then move on from the row that has the focus.
    onActiveFocusChanged: if (activeFocus) ListView.view.currentIndex = index
    Keys.onReturnPressed: row.openRequested()
    Keys.onEnterPressed: row.openRequested()
    Keys.onDeletePressed: row.deleteRequested()
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Menu) {
            menu.popup(row, Theme.spacing.xl, row.height / 2)
            event.accepted = true
        }
    }

    background: Rectangle {
        radius: Theme.radius.medium
        color: row.hovered || row.activeFocus ? Theme.color.raised : "transparent"
        border.width: row.visualFocus ? 2 : 0
        border.color: Theme.color.focusRing
    }

    contentItem: RowLayout {
        spacing: Theme.spacing.m
        Rectangle {
            Layout.preferredWidth: 36
            Layout.preferredHeight: 36
            radius: Theme.radius.small
            color: Theme.color.accentSoft
            SymbolIcon {
                anchors.centerIn: parent
                symbol: row.symbol
                tint: Theme.color.accent
                size: 18
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.xxs
            Text {
                Layout.fillWidth: true
                text: row.title
                elide: Text.ElideRight
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.headline
                font.weight: Font.Medium
            }
            RowLayout {
                visible: row.stateText.length > 0
                spacing: Theme.spacing.xs
                SymbolIcon {
                    visible: row.processingState === "failed"
                    symbol: "exclamationmark.triangle"
                    tint: Theme.color.warning
                    size: 14
                }
                Text {
                    text: row.stateText
                    color: row.processingState === "failed" ? Theme.color.warning : Theme.color.textSecondary
                    font.pixelSize: Theme.font.caption
                }
            }
        }
        SymbolIcon {
            visible: row.processingState === "ready"
            symbol: "chevron.right"
            tint: Theme.color.textTertiary
            size: 16
        }
    }

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: {
            row.forceActiveFocus()
            menu.popup()
        }
    }
    PopupMenu {
        id: menu
        PopupMenuItem {
            text: "Delete"
            symbol: "trash"
            shortcutText: "Delete"
            onTriggered: row.deleteRequested()
        }
    }
}
