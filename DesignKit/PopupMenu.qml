import QtQuick
import QtQuick.Controls

// A drop-down menu on a rounded surface with a soft shadow. Items added from Actions are
// PopupMenuItems too.
Menu {
    id: control

    padding: Theme.spacing.xs
    margins: Theme.spacing.s
    overlap: 0
    font.pixelSize: Theme.font.body
    delegate: PopupMenuItem {}

    enter: Transition {
        NumberAnimation { property: "opacity"; from: 0; to: 1; duration: Theme.motion.quick }
    }
    exit: Transition {
        NumberAnimation { property: "opacity"; from: 1; to: 0; duration: Theme.motion.quick }
    }

    background: Item {
        implicitWidth: 220
        implicitHeight: 40

        // Qt 6.4 has no drop-shadow effect without extra modules: two translucent layers,
        // widening downwards, stand in for one.
        Rectangle {
            anchors.fill: parent
            anchors.leftMargin: -3
            anchors.rightMargin: -3
            anchors.topMargin: -1
            anchors.bottomMargin: -6
            radius: Theme.radius.medium + 3
            color: Qt.rgba(0, 0, 0, Theme.dark ? 0.22 : 0.04)
        }
        Rectangle {
            anchors.fill: parent
            anchors.leftMargin: -1
            anchors.rightMargin: -1
            anchors.bottomMargin: -3
            radius: Theme.radius.medium + 1
            color: Qt.rgba(0, 0, 0, Theme.dark ? 0.3 : 0.06)
        }
        Rectangle {
            anchors.fill: parent
            radius: Theme.radius.medium
            color: Theme.color.surface
            border.width: 1
            border.color: Theme.color.separator
        }
    }
}
