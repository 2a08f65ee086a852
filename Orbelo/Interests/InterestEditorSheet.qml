import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// "Your interests" as a sheet: the catalogue's chips and a "Background" field. From Settings it
// saves with "Save"; as the one-time prompt it offers "Save & continue" and "Skip". Escape closes
// without saving; Enter in the background field saves.
Popup {
    id: sheet
    property bool prompt: false
    property bool shown: false
    signal dismissed()

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(760, parent ? parent.width - Theme.spacing.xxl * 2 : 760)
    height: Math.min(780, parent ? parent.height - Theme.spacing.xxl * 2 : 780)
    padding: 0
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    onShownChanged: shown ? open() : close()
    onAboutToShow: editor.load()
    // Escape, "Skip" and a finished save all end here; only a save that finished leaves the
    // choices stored.
    onClosed: {
        if (!finishedBySave)
            editor.dismiss()
        finishedBySave = false
        sheet.dismissed()
    }
    property bool finishedBySave: false

    InterestEditorModel {
        id: editor
        isPrompt: sheet.prompt
        onFinished: {
            sheet.finishedBySave = true
            sheet.close()
        }
    }

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0
        Accessible.role: Accessible.Dialog
        Accessible.name: "Your interests"

        ColumnLayout {
            Layout.fillWidth: true
            Layout.margins: Theme.spacing.xl
            Layout.bottomMargin: Theme.spacing.m
            spacing: Theme.spacing.xs
            Text {
                text: "Your interests"
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                font.weight: Font.Medium
                Accessible.ignored: true
            }
            Text {
                text: "Interests"
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title
                font.weight: Font.Bold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Text {
                Layout.fillWidth: true
                text: "Pick a few things you're into. We'll use them to explain ideas and build mnemonics around what you already know."
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }

        Rectangle { Layout.fillWidth: true; Layout.preferredHeight: 1; color: Theme.color.separator }

        ScrollView {
            id: scroll
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth
            clip: true

            FocusReveal { view: scroll }

            ColumnLayout {
                width: scroll.availableWidth
                spacing: Theme.spacing.xl

                InterestChipsView {
                    Layout.fillWidth: true
                    Layout.leftMargin: Theme.spacing.xl
                    Layout.rightMargin: Theme.spacing.xl
                    Layout.topMargin: Theme.spacing.l
                    selectedNames: editor.selectedNames
                    onToggled: name => editor.toggle(name)
                }
                FormField {
                    id: backgroundField
                    Layout.fillWidth: true
                    Layout.leftMargin: Theme.spacing.xl
                    Layout.rightMargin: Theme.spacing.xl
                    Layout.bottomMargin: Theme.spacing.l
                    label: "Background"
                    placeholder: "A sentence about you — what you study, work on or care about"
                    description: "Free text about your background"
                    text: editor.background
                    onEdited: value => editor.background = value
                    onAccepted: editor.save()
                }
            }
        }

        Rectangle { Layout.fillWidth: true; Layout.preferredHeight: 1; color: Theme.color.separator }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.margins: Theme.spacing.l
            Layout.leftMargin: Theme.spacing.xl
            Layout.rightMargin: Theme.spacing.xl
            spacing: Theme.spacing.s

            InlineErrorView {
                Layout.fillWidth: true
                message: editor.errorMessage
            }
            Text {
                Layout.fillWidth: true
                visible: editor.showSlowHint
                text: "This is taking longer than usual — still working…"
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.s
                Text {
                    Layout.fillWidth: true
                    text: editor.selectedNames.length === 1 ? "1 selected"
                                                            : editor.selectedNames.length + " selected"
                    color: Theme.color.textTertiary
                    font.pixelSize: Theme.font.callout
                }
                BusyIndicator {
                    visible: editor.isSaving
                    running: visible
                    Layout.preferredWidth: 28
                    Layout.preferredHeight: 28
                    Accessible.name: "Saving"
                }
                SecondaryButton {
                    text: sheet.prompt ? "Skip" : "Cancel"
                    enabled: !editor.isSaving || sheet.prompt
                    onClicked: sheet.close()
                    Keys.onReturnPressed: sheet.close()
                }
                PrimaryButton {
                    text: editor.saveTitle
                    enabled: !editor.isSaving
                    onClicked: editor.save()
                    Keys.onReturnPressed: editor.save()
                }
            }
        }
    }
}
