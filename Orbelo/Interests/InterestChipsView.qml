import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The interest catalogue as chips under each category's heading. The owner holds the selection:
// it passes the chosen names in `selectedNames` and updates them on `toggled`. A name listed in two
// categories is one interest, so its chips show the same state in both. Tab moves between chips;
// Space or Enter toggles the focused one.
ColumnLayout {
    id: view
    property var selectedNames: []
    signal toggled(string name)

    spacing: Theme.spacing.l

    Repeater {
        model: InterestCatalog.categories
        delegate: ColumnLayout {
            id: category
            required property var modelData
            Layout.fillWidth: true
            spacing: Theme.spacing.s

            RowLayout {
                spacing: Theme.spacing.s
                Accessible.role: Accessible.Heading
                Accessible.name: category.modelData.name
                SymbolIcon {
                    symbol: category.modelData.symbol
                    tint: Theme.color.accent
                    size: 18
                    Layout.preferredWidth: 18
                    Layout.preferredHeight: 18
                }
                Text {
                    text: category.modelData.name
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.DemiBold
                    Accessible.ignored: true
                }
            }
            FlowLayout {
                Layout.fillWidth: true
                Repeater {
                    model: category.modelData.items
                    delegate: Chip {
                        required property string modelData
                        text: modelData
                        selected: view.selectedNames.indexOf(modelData) >= 0
                        Accessible.description: category.modelData.name
                        onClicked: view.toggled(modelData)
                    }
                }
            }
        }
    }
}
