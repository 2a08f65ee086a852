import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// A syllabus on its way to becoming a course: what is happening, the page being read when a
// scanned PDF is read on this computer, and a way out.
Rectangle {
    id: panel
    property string status
    property string progressText
    property bool canCancel: true
    signal cancelRequested()

    implicitHeight: row.implicitHeight + Theme.spacing.m * 2
    radius: Theme.radius.medium
    color: Theme.color.surface
    border.color: Theme.color.separator
    Accessible.role: Accessible.Grouping
    Accessible.name: "Creating your course…"

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: Theme.spacing.m
        spacing: Theme.spacing.m

        BusyIndicator {
            Layout.preferredWidth: 28
            Layout.preferredHeight: 28
            running: panel.visible
            Accessible.ignored: true
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.xxs
            Text {
                Layout.fillWidth: true
                text: "Creating your course…"
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.headline
                font.weight: Font.Medium
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Text {
                objectName: "syllabusStatus"
                Layout.fillWidth: true
                text: panel.status
                wrapMode: Text.Wrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: panel.progressText
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.caption
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
        SecondaryButton {
            visible: panel.canCancel
            text: "Stop"
            Accessible.name: "Stop creating the course"
            Accessible.description: "Stops reading the syllabus; anything already sent may still become a course"
            onClicked: panel.cancelRequested()
        }
    }
}
