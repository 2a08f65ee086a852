import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// Asking for a rating after a good quiz: a link to the app's page, or "Not now". It sits beside
// the result and never stands in its way.
Rectangle {
    id: card
    required property ReviewPrompt prompt

    implicitHeight: column.implicitHeight + Theme.spacing.l * 2
    radius: Theme.radius.large
    color: Theme.color.accentSoft
    Accessible.role: Accessible.Grouping
    Accessible.name: "Enjoying Orbelo?"

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: Theme.spacing.l
        spacing: Theme.spacing.s
        Text {
            text: "Enjoying Orbelo?"
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.headline
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            Layout.fillWidth: true
            text: "A few words about it on our page help other students find it."
            wrapMode: Text.WordWrap
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.callout
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        RowLayout {
            spacing: Theme.spacing.s
            PrimaryButton {
                text: "Rate Orbelo"
                symbol: "heart"
                Accessible.description: "Opens Orbelo's page in your browser."
                onClicked: card.prompt.openPage()
            }
            SecondaryButton {
                plain: true
                text: "Not now"
                Accessible.description: "Hides this question."
                onClicked: card.prompt.dismiss()
            }
        }
    }
}
