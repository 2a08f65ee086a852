import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// "University": the school stored in the profile and a search of the school directory. Results
// appear as the user types; Down moves from the field into them, Enter or a click stores one.
ColumnLayout {
    id: picker
    property alias model: universities
    signal changed()

    spacing: Theme.spacing.s

    UniversityPickerModel {
        id: universities
        onUniversityChanged: picker.changed()
    }
    Component.onCompleted: universities.load()

    SettingsRow {
        text: "University"
        symbol: "building.columns"
        value: universities.selectedName.length > 0 ? universities.selectedName : "Not set"
        detail: "Your school shapes course suggestions and the school directory."
        interactive: false
    }
    FormField {
        id: search
        Layout.fillWidth: true
        Layout.leftMargin: Theme.spacing.l
        Layout.rightMargin: Theme.spacing.l
        label: universities.selectedName.length > 0 ? "Change school" : "Find your school"
        placeholder: "Search by name, city or state"
        description: "Type to search schools; results appear below"
        text: universities.query
        onEdited: value => universities.query = value
        onAccepted: if (universities.results.length > 0) universities.choose(0)
        input.Keys.onDownPressed: if (results.count > 0) results.itemAt(0).forceActiveFocus()
    }
    Text {
        Layout.leftMargin: Theme.spacing.l
        visible: universities.isSearching
        text: "Searching…"
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.callout
    }
    Text {
        Layout.leftMargin: Theme.spacing.l
        visible: !universities.isSearching && universities.query.trim().length > 0
                 && universities.results.length === 0 && universities.errorMessage.length === 0
        text: "No schools match “" + universities.query.trim() + "”."
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.callout
    }
    InlineErrorView {
        Layout.fillWidth: true
        Layout.leftMargin: Theme.spacing.l
        Layout.rightMargin: Theme.spacing.l
        message: universities.errorMessage
    }
    ColumnLayout {
        Layout.fillWidth: true
        Layout.leftMargin: Theme.spacing.s
        Layout.rightMargin: Theme.spacing.s
        Layout.bottomMargin: Theme.spacing.s
        spacing: 0
        Repeater {
            id: results
            model: universities.results
            delegate: SettingsRow {
                required property var modelData
                required property int index
                text: modelData.name
                detail: modelData.detail
                symbol: modelData.id === universities.selectedId ? "checkmark" : ""
                trailing: ""
                enabled: !universities.isSaving
                Accessible.description: modelData.detail.length > 0 ? "School, " + modelData.detail : "School"
                onClicked: universities.choose(index)
                Keys.onDownPressed: if (index + 1 < results.count) results.itemAt(index + 1).forceActiveFocus()
                Keys.onUpPressed: index > 0 ? results.itemAt(index - 1).forceActiveFocus()
                                            : search.input.forceActiveFocus()
            }
        }
    }
}
