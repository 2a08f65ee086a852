import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The settings screen's Appearance group: the look of the app, one chip per choice. Night Owl joins
// the choices once the theme reward is owned; the desktop's high contrast overrides them all.
SettingsSection {
    id: section
    title: "Appearance"

    AppearanceModel {
        id: appearance
        appearance: Appearance
    }

    ColumnLayout {
        Layout.fillWidth: true
        Layout.margins: Theme.spacing.l
        spacing: Theme.spacing.s
        Text {
            Layout.fillWidth: true
            text: "Look of the app"
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.body
            font.weight: Font.Medium
        }
        Flow {
            Layout.fillWidth: true
            spacing: Theme.spacing.s
            Accessible.role: Accessible.Grouping
            Accessible.name: "Look of the app"
            Repeater {
                model: appearance.options
                Chip {
                    required property var modelData
                    text: modelData.label
                    selected: appearance.choice === modelData.value
                    onClicked: appearance.choose(modelData.value)
                }
            }
        }
        Text {
            Layout.fillWidth: true
            visible: text.length > 0
            text: appearance.note
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.caption
            wrapMode: Text.WordWrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
