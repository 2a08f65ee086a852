import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// What the quiz earned: experience points, credits with their tier, the multipliers that applied
// and any achievements. "Tallying rewards…" while the backend works them out.
Rectangle {
    id: area
    required property QuizResult result

    implicitHeight: column.implicitHeight + Theme.spacing.l * 2
    radius: Theme.radius.large
    color: Theme.color.surface
    border.color: Theme.color.separator
    Accessible.role: Accessible.Grouping
    Accessible.name: "Rewards"

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: Theme.spacing.l
        spacing: Theme.spacing.s

        RowLayout {
            visible: area.result.isTallying
            spacing: Theme.spacing.s
            BusyIndicator {
                running: parent.visible
                implicitWidth: 20
                implicitHeight: 20
                Accessible.ignored: true
            }
            Text {
                text: "Tallying rewards…"
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }

        RowLayout {
            visible: !area.result.isTallying && (area.result.xpText.length > 0 || area.result.creditsText.length > 0)
            spacing: Theme.spacing.xl
            Text {
                visible: text.length > 0
                text: area.result.xpText
                color: Theme.color.accent
                font.pixelSize: Theme.font.title2
                font.weight: Font.Bold
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Column {
                visible: area.result.creditsText.length > 0
                Accessible.role: Accessible.StaticText
                Accessible.name: "Credits: " + area.result.creditsText
                Text {
                    text: "Credits"
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.caption
                    Accessible.ignored: true
                }
                Text {
                    text: area.result.creditsText
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.DemiBold
                    Accessible.ignored: true
                }
            }
        }

        Flow {
            Layout.fillWidth: true
            visible: area.result.multiplierLines.length > 0
            spacing: Theme.spacing.s
            Repeater {
                model: area.result.multiplierLines
                Chip {
                    required property string modelData
                    text: modelData
                    focusPolicy: Qt.NoFocus
                    enabled: false
                    Accessible.role: Accessible.StaticText
                }
            }
        }

        Text {
            visible: text.length > 0
            text: area.result.achievementsTitle
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.headline
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Repeater {
            model: area.result.achievementLines
            Text {
                required property string modelData
                Layout.fillWidth: true
                text: modelData
                wrapMode: Text.WordWrap
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }
}
