import QtQuick
import QtQuick.Layouts
import DesignKit

// A grid block of a card: its cells in rows of `columnCount`, each cell a small tile.
GridLayout {
    id: grid
    required property var rows
    required property int columnCount
    property color accent: Theme.color.separator
    property color textColor: Theme.color.textPrimary

    columns: columnCount
    columnSpacing: Theme.spacing.s
    rowSpacing: Theme.spacing.s

    Repeater {
        // The rows flattened, each short row padded so that the next starts in the first column.
        model: {
            const cells = []
            for (const row of grid.rows) {
                for (let i = 0; i < grid.columnCount; ++i)
                    cells.push(i < row.length ? row[i] : null)
            }
            return cells
        }
        delegate: Rectangle {
            required property var modelData
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.preferredWidth: 1
            Layout.preferredHeight: cell.implicitHeight + Theme.spacing.s * 2
            visible: modelData !== null
            radius: Theme.radius.small
            color: "transparent"
            border.color: grid.accent
            Accessible.role: Accessible.Cell
            Accessible.name: modelData === null ? "" : modelData

            Text {
                id: cell
                x: Theme.spacing.s
                y: Theme.spacing.s
                width: parent.width - Theme.spacing.s * 2
                text: parent.modelData === null ? "" : parent.modelData
                wrapMode: Text.Wrap
                color: grid.textColor
                font.pixelSize: Theme.font.callout
                Accessible.ignored: true
            }
        }
    }
}
