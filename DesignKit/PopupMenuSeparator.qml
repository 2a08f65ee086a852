import QtQuick
import QtQuick.Controls

// A hairline between groups of PopupMenuItems.
MenuSeparator {
    topPadding: Theme.spacing.xs
    bottomPadding: Theme.spacing.xs
    leftPadding: Theme.spacing.s
    rightPadding: Theme.spacing.s

    contentItem: Rectangle {
        implicitWidth: 180
        implicitHeight: 1
        color: Theme.color.separator
    }
}
