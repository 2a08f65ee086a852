import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// One choice of the destination sheet: a title and, for "No course", what it means.
ItemDelegate {
    id: choice
    property string title
    property string detail

    focusPolicy: Qt.StrongFocus
    hoverEnabled: true
    padding: Theme.spacing.m
    Accessible.role: Accessible.Button
    Accessible.name: title
    Accessible.description: detail
    Accessible.onPressAction: choice.clicked()
    Keys.onReturnPressed: choice.clicked()
    Keys.onEnterPressed: choice.clicked()

    background: Rectangle {
        radius: Theme.radius.medium
        color: choice.hovered || choice.activeFocus ? Theme.color.accentSoft : Theme.color.raised
        border.width: choice.visualFocus ? 2 : 0
        border.color: Theme.color.focusRing
    }
    contentItem: ColumnLayout {
        spacing: Theme.spacing.xxs
        Text {
            Layout.fillWidth: true
            text: choice.title
            elide: Text.ElideRight
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.headline
            font.weight: Font.Medium
        }
        Text {
            Layout.fillWidth: true
            visible: choice.detail.length > 0
            text: choice.detail
            wrapMode: Text.WordWrap
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.callout
        }
    }
}
