import QtQuick
import DesignKit

// Light Markdown blocks (MarkdownText) laid out one under another, as the notes show them.
Column {
    id: view
    property var blocks

    spacing: Theme.spacing.s

    Repeater {
        model: view.blocks
        delegate: NotesBlockRow {
            width: view.width
        }
    }
}
