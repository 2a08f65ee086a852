import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// A parsed guide: its tip, then its cards in as many columns as the width allows.
ColumnLayout {
    id: view
    required property MnemonicContent content
    // The narrowest a card gets before the grid drops a column.
    property int minimumCardWidth: 300

    spacing: Theme.spacing.m

    MnemonicSummaryView {
        Layout.fillWidth: true
        visible: view.content.summary.length > 0
        summary: view.content.summary
    }

    GridLayout {
        Layout.fillWidth: true
        columns: Math.max(1, Math.floor((width + columnSpacing) / (view.minimumCardWidth + columnSpacing)))
        columnSpacing: Theme.spacing.m
        rowSpacing: Theme.spacing.m

        Repeater {
            model: view.content.cards
            delegate: MnemonicCardView {
                required property MnemonicCardModel modelData
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                Layout.alignment: Qt.AlignTop
                card: modelData
            }
        }
    }
}
