import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// A titled section of the notes with its blocks, "Copy" (the plain text; "Copied" for a moment)
// and "Save as Markdown…".
Rectangle {
    id: card
    required property NotesSectionModel section
    property string documentTitle

    implicitHeight: column.implicitHeight + Theme.spacing.l * 2
    radius: Theme.radius.large
    color: Theme.color.surface
    border.color: Theme.color.separator

    ColumnLayout {
        id: column
        x: Theme.spacing.l
        y: Theme.spacing.l
        width: card.width - Theme.spacing.l * 2
        spacing: Theme.spacing.m

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.s
            SymbolIcon {
                symbol: card.section.systemImage
                tint: Theme.color.accent
            }
            Text {
                Layout.fillWidth: true
                text: card.section.title
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title2
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            SecondaryButton {
                plain: true
                text: card.section.didCopy ? "Copied" : "Copy"
                Accessible.name: card.section.didCopy ? "Copied" : "Copy " + card.section.title
                Accessible.description: "Copies this section as plain text."
                onClicked: card.section.copy()
            }
            SecondaryButton {
                plain: true
                text: "Save as Markdown…"
                Accessible.name: "Save " + card.section.title + " as Markdown…"
                Accessible.description: "Saves this section as a Markdown file."
                onClicked: {
                    const file = card.section.suggestedFile(card.documentTitle).toString()
                    saveDialog.currentFolder = file.substring(0, file.lastIndexOf("/"))
                    saveDialog.selectedFile = file
                    saveDialog.open()
                }
            }
        }

        Repeater {
            model: card.section.blocks
            delegate: NotesBlockRow {
                Layout.fillWidth: true
            }
        }

        InlineErrorView {
            Layout.fillWidth: true
            message: card.section.saveError
        }
    }

    FileDialog {
        id: saveDialog
        title: "Save " + card.section.title + " as Markdown"
        fileMode: FileDialog.SaveFile
        defaultSuffix: "md"
        nameFilters: ["Markdown (*.md)", "All files (*)"]
        onAccepted: card.section.saveMarkdown(selectedFile)
    }
}
