import QtQuick

// Places its children left to right and starts a new row when the next child would not fit the
// available width; its height grows with the rows. Give it a width (or Layout.fillWidth).
Flow {
    flow: Flow.LeftToRight
    spacing: Theme.spacing.s
}
