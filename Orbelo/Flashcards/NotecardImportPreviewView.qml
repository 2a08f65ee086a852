import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// How the backend split the deck: the counts and pickers, a sample of cards, the rows it could
// not read, what it cleaned up, and the flagged cards with the choice to import them anyway.
ColumnLayout {
    id: view
    required property NotecardImportModel importer

    spacing: Theme.spacing.m

    component Label: Text {
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.caption
        font.weight: Font.Medium
        Accessible.ignored: true
    }
    component Heading: Text {
        Layout.fillWidth: true
        Layout.topMargin: Theme.spacing.s
        wrapMode: Text.WordWrap
        color: Theme.color.textPrimary
        font.pixelSize: Theme.font.headline
        font.weight: Font.DemiBold
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }
    component Line: Text {
        Layout.fillWidth: true
        wrapMode: Text.WordWrap
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.callout
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    // A picker that follows the model's value, also after the user picks one the model refuses.
    component Picker: ComboBox {
        id: picker
        property string value
        signal chosen(string value)
        Layout.fillWidth: true
        textRole: "label"
        font.pixelSize: Theme.font.body
        valueRole: "value"
        enabled: !view.importer.isCommitting
        // count: indexOfValue finds nothing until the options are in.
        currentIndex: count > 0 ? indexOfValue(value) : -1
        onActivated: {
            chosen(currentValue)
            currentIndex = Qt.binding(() => count > 0 ? indexOfValue(value) : -1)
        }
        Accessible.onPressAction: popup.open()
    }

    GridLayout {
        Layout.fillWidth: true
        columns: 4
        columnSpacing: Theme.spacing.l
        rowSpacing: Theme.spacing.xs

        Label { text: "Cards found" }
        Label { text: "Separator" }
        Label { text: "Between cards" }
        Label { text: "Course" }

        Text {
            text: view.importer.totalCards
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title2
            font.weight: Font.Bold
            Accessible.role: Accessible.StaticText
            Accessible.name: "Cards found: " + text
        }
        Picker {
            model: view.importer.fieldDelimiterOptions
            value: view.importer.fieldDelimiter
            onChosen: value => view.importer.chooseFieldDelimiter(value)
            Accessible.name: "Separator"
            Accessible.description: "What separates each term from its definition; changing it previews again"
        }
        Picker {
            model: view.importer.cardDelimiterOptions
            value: view.importer.cardDelimiter
            onChosen: value => view.importer.chooseCardDelimiter(value)
            Accessible.name: "Between cards"
            Accessible.description: "What separates one card from the next; changing it previews again"
        }
        Picker {
            model: view.importer.courseOptions
            valueRole: "id"
            value: view.importer.courseId
            enabled: !view.importer.isBusy
            onChosen: value => view.importer.courseId = value
            Accessible.name: "Course"
            Accessible.description: "The course the cards are added to"
        }
    }

    Heading { text: "Check the split" }
    Line { text: "If the terms and definitions look swapped or run together, change the separator." }
    Label { text: view.importer.sampleTitle }
    Repeater {
        model: view.importer.sample
        delegate: Rectangle {
            required property var modelData
            Layout.fillWidth: true
            implicitHeight: cardRow.implicitHeight + Theme.spacing.s * 2
            radius: Theme.radius.small
            color: modelData.flagged ? Theme.color.warningSoft : Theme.color.raised
            Accessible.role: Accessible.StaticText
            Accessible.name: modelData.term + ": " + modelData.definition
                             + (modelData.flagged ? ". Flagged: " + modelData.flagReason : "")
            RowLayout {
                id: cardRow
                x: Theme.spacing.m
                y: Theme.spacing.s
                width: parent.width - Theme.spacing.m * 2
                spacing: Theme.spacing.m
                Text {
                    Layout.preferredWidth: parent.width * 0.35
                    text: modelData.term
                    wrapMode: Text.WordWrap
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.body
                    font.weight: Font.Medium
                    Accessible.ignored: true
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: Theme.spacing.xxs
                    Text {
                        Layout.fillWidth: true
                        text: modelData.definition
                        wrapMode: Text.WordWrap
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.body
                        Accessible.ignored: true
                    }
                    RowLayout {
                        visible: modelData.flagged
                        spacing: Theme.spacing.s
                        Rectangle {
                            implicitWidth: badge.implicitWidth + Theme.spacing.s * 2
                            implicitHeight: badge.implicitHeight + Theme.spacing.xxs * 2
                            radius: Theme.radius.pill
                            color: Theme.color.warning
                            Text {
                                id: badge
                                anchors.centerIn: parent
                                text: "Flagged"
                                color: Theme.color.surface
                                font.pixelSize: Theme.font.caption
                                font.weight: Font.DemiBold
                                Accessible.ignored: true
                            }
                        }
                        Text {
                            Layout.fillWidth: true
                            text: modelData.flagReason
                            wrapMode: Text.WordWrap
                            color: Theme.color.warning
                            font.pixelSize: Theme.font.caption
                            Accessible.ignored: true
                        }
                    }
                }
            }
        }
    }

    Heading {
        visible: text.length > 0
        text: view.importer.skippedTitle
    }
    Repeater {
        model: view.importer.skipped
        delegate: ColumnLayout {
            required property var modelData
            Layout.fillWidth: true
            spacing: 0
            Text {
                Layout.fillWidth: true
                text: modelData.line + "  " + modelData.preview
                elide: Text.ElideRight
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.StaticText
                Accessible.name: modelData.line + ": " + modelData.preview + ". " + modelData.reason
            }
            Line { text: modelData.reason; Accessible.ignored: true }
        }
    }

    Heading {
        visible: view.importer.sanitizedNotes.length > 0
        text: "What we cleaned up"
    }
    Repeater {
        model: view.importer.sanitizedNotes
        delegate: Line {
            required property string modelData
            text: "• " + modelData
            Accessible.name: modelData
        }
    }

    Line {
        visible: text.length > 0
        text: view.importer.truncatedText
        color: Theme.color.warning
    }

    Heading {
        visible: text.length > 0
        text: view.importer.flaggedTitle
    }
    Line {
        visible: view.importer.flaggedTitle.length > 0
        text: "These contain text that looks like an instruction to our AI rather than study material — common in decks copied from someone else. They're skipped by default; the rest import either way."
    }
    Switch {
        id: includeFlagged
        visible: view.importer.flaggedTitle.length > 0
        text: "Import flagged cards anyway"
        checked: view.importer.includeFlagged
        enabled: !view.importer.isBusy
        palette.dark: Theme.color.accent // the track when on
        font.pixelSize: Theme.font.body
        Accessible.name: text
        onToggled: view.importer.includeFlagged = checked
        Accessible.onPressAction: if (enabled) view.importer.includeFlagged = !checked
        Accessible.onToggleAction: if (enabled) view.importer.includeFlagged = !checked
        Keys.onReturnPressed: toggle(), toggled()
        Keys.onEnterPressed: toggle(), toggled()
        // The model owns the choice: keep the switch on it.
        Connections {
            target: view.importer
            function onCountsChanged() { includeFlagged.checked = view.importer.includeFlagged }
        }
    }

    Line {
        visible: view.importer.hasPreview && !view.importer.fitsStorage
        text: "This deck is too large to add to your cards."
        color: Theme.color.danger
        Accessible.role: Accessible.AlertMessage
    }
    Line {
        visible: text.length > 0 && !view.importer.fitsStorage
        text: view.importer.storageMessage
    }
}
