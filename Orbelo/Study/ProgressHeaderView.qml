import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The top of the Study tab: level (with the Scholar Badge when owned) and XP towards the next one,
// streak and credits, read as one line. Takes no room until the figures have come.
Rectangle {
    id: header
    required property ProgressHeaderModel model

    visible: model.hasProgress
    implicitHeight: row.implicitHeight + Theme.spacing.m * 2
    radius: Theme.radius.large
    color: Theme.color.accentSoft
    activeFocusOnTab: visible
    border.color: Theme.color.focusRing
    border.width: activeFocus ? 2 : 0
    Accessible.role: Accessible.StaticText
    Accessible.name: model.accessibleLabel

    RowLayout {
        id: row
        x: Theme.spacing.l
        y: Theme.spacing.m
        width: header.width - Theme.spacing.l * 2
        spacing: Theme.spacing.xl

        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.xs
            RowLayout {
                spacing: Theme.spacing.s
                Text {
                    text: header.model.levelText
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.Bold
                    Accessible.ignored: true
                }
                // The Scholar Badge, named in the header's spoken line.
                Rectangle {
                    visible: header.model.badgeText.length > 0
                    implicitWidth: badgeLabel.implicitWidth + Theme.spacing.s * 2
                    implicitHeight: badgeLabel.implicitHeight + Theme.spacing.xxs * 2
                    radius: height / 2
                    color: Theme.color.accent
                    Text {
                        id: badgeLabel
                        anchors.centerIn: parent
                        text: header.model.badgeText
                        color: Theme.color.textOnAccent
                        font.pixelSize: Theme.font.caption
                        font.weight: Font.Bold
                        Accessible.ignored: true
                    }
                }
                Text {
                    text: header.model.xpText + " to next level"
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                    Accessible.ignored: true
                }
            }
            Rectangle {
                Layout.fillWidth: true
                Layout.maximumWidth: 320
                implicitHeight: 6
                radius: 3
                color: Theme.color.surface
                Rectangle {
                    width: parent.width * header.model.levelProgress
                    height: parent.height
                    radius: 3
                    color: Theme.color.accent
                }
            }
        }
        Row {
            spacing: Theme.spacing.xs
            SymbolIcon { anchors.verticalCenter: parent.verticalCenter; symbol: "clock"; tint: Theme.color.accent; size: 16 }
            Text {
                text: header.model.streakText
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.callout
                font.weight: Font.Medium
                Accessible.ignored: true
            }
        }
        Row {
            spacing: Theme.spacing.xs
            SymbolIcon { anchors.verticalCenter: parent.verticalCenter; symbol: "gift.fill"; tint: Theme.color.accent; size: 16 }
            Text {
                text: header.model.creditsText
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.callout
                font.weight: Font.Medium
                Accessible.ignored: true
            }
        }
    }
}
