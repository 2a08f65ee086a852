import QtQuick

// Placeholder rows for a list that is still loading: rounded bars of varying widths that pulse
// gently, and hold still when motion is reduced. Screen readers meet one busy element, not the bars.
Item {
    id: skeleton
    property int rows: 3
    property string accessibleName: qsTr("Loading")
    readonly property bool animating: pulse.running

    // Animated apart from `opacity` so that stopping the pulse never leaves the bars half faded.
    property real phase: 1

    implicitWidth: 320
    implicitHeight: column.implicitHeight

    Accessible.role: Accessible.ProgressBar
    Accessible.name: accessibleName
    Accessible.description: qsTr("Content is loading")

    Column {
        id: column
        width: parent.width
        spacing: Theme.spacing.l
        opacity: Theme.motion.reduce ? 1 : skeleton.phase

        Repeater {
            model: skeleton.rows
            delegate: Row {
                id: row
                required property int index
                // Fixed, not random: the rows look the same on every load.
                readonly property real titleShare: [0.72, 0.55, 0.84, 0.63, 0.78, 0.5][index % 6]
                readonly property real detailShare: [0.45, 0.6, 0.38, 0.52][index % 4]

                width: column.width
                spacing: Theme.spacing.m

                Rectangle {
                    width: 32
                    height: 32
                    radius: Theme.radius.small
                    color: Theme.color.separator
                }
                Column {
                    width: row.width - 32 - row.spacing
                    spacing: Theme.spacing.s
                    topPadding: Theme.spacing.xxs

                    Rectangle {
                        width: parent.width * row.titleShare
                        height: 12
                        radius: 6
                        color: Theme.color.separator
                    }
                    Rectangle {
                        width: parent.width * row.detailShare
                        height: 10
                        radius: 5
                        color: Theme.color.raised
                        border.color: Theme.color.separator
                    }
                }
            }
        }
    }

    SequentialAnimation {
        id: pulse
        running: skeleton.visible && !Theme.motion.reduce
        loops: Animation.Infinite
        NumberAnimation {
            target: skeleton
            property: "phase"
            to: 0.5
            duration: 900
            easing.type: Easing.InOutSine
        }
        NumberAnimation {
            target: skeleton
            property: "phase"
            to: 1
            duration: 900
            easing.type: Easing.InOutSine
        }
    }
}
