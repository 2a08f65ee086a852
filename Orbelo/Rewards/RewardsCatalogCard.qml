import QtQuick
import QtQuick.Layouts
import DesignKit

// One marketplace item: name, description, its cost and terms, and the button that says what is
// needed to buy it.
Rectangle {
    id: card
    // {rewardId, name, description, lines, buttonLabel, buttonEnabled, buttonHint}
    required property var reward
    signal purchase()

    implicitHeight: column.implicitHeight + Theme.spacing.l * 2
    radius: Theme.radius.large
    color: Theme.color.surface
    border.color: Theme.color.separator

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: Theme.spacing.l
        spacing: Theme.spacing.s

        Text {
            Layout.fillWidth: true
            text: card.reward.name
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.headline
            font.weight: Font.Bold
            wrapMode: Text.Wrap
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            Layout.fillWidth: true
            visible: text.length > 0
            text: card.reward.description
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.callout
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        Flow {
            Layout.fillWidth: true
            spacing: Theme.spacing.s
            Repeater {
                model: card.reward.lines
                delegate: Text {
                    required property string modelData
                    required property int index
                    text: modelData
                    color: index === 0 ? Theme.color.accent : Theme.color.textTertiary
                    font.pixelSize: Theme.font.caption
                    font.weight: index === 0 ? Font.Bold : Font.Normal
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }
        PrimaryButton {
            Layout.fillWidth: true
            // Room for the longer labels ("Need 100 more credits to unlock") on a narrow card.
            leftPadding: Theme.spacing.s
            rightPadding: Theme.spacing.s
            text: card.reward.buttonLabel
            enabled: card.reward.buttonEnabled
            Accessible.description: card.reward.buttonHint
            onClicked: card.purchase()
        }
    }
}
