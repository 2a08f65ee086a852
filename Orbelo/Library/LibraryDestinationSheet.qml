import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// "Where does this go?": no course (the backend checks the file for a syllabus) or one of the
// courses. Escape or "Cancel" leaves without uploading.
Popup {
    id: sheet
    property string filename
    // {id, label} for each course.
    property var courses: []
    signal chosen(string courseId)
    signal cancelled()

    readonly property bool shown: filename.length > 0

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 480
    padding: Theme.spacing.xl
    height: Math.min(column.implicitHeight + padding * 2, parent ? parent.height - 80 : 600)
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    onShownChanged: shown ? open() : close()
    onOpened: firstChoice.forceActiveFocus()
    // Closed while a file is still waiting: Escape or "Cancel".
    onClosed: if (shown) sheet.cancelled()

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
    }

    Flickable {
        anchors.fill: parent
        contentHeight: column.implicitHeight
        clip: true
        boundsBehavior: Flickable.StopAtBounds

        ColumnLayout {
            id: column
            width: parent.width
            spacing: Theme.spacing.m
            Accessible.role: Accessible.Dialog
            Accessible.name: "Where does this go?"

            Text {
                text: "Where does this go?"
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title
                font.weight: Font.Bold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Text {
                Layout.fillWidth: true
                text: sheet.filename
                elide: Text.ElideMiddle
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
            }

            LibraryDestinationChoice {
                id: firstChoice
                Layout.fillWidth: true
                title: "No course"
                detail: "We'll check it for a syllabus and set up a course if it is one."
                onClicked: sheet.chosen("")
            }
            Repeater {
                model: sheet.courses
                delegate: LibraryDestinationChoice {
                    required property var modelData
                    Layout.fillWidth: true
                    title: "Add to " + modelData.label
                    onClicked: sheet.chosen(modelData.id)
                }
            }
            Text {
                Layout.fillWidth: true
                text: "Choosing a course skips syllabus detection — pick one for lecture notes, readings and textbooks."
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.caption
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            SecondaryButton {
                Layout.alignment: Qt.AlignRight
                text: "Cancel"
                onClicked: sheet.close()
                Keys.onReturnPressed: sheet.close()
            }
        }
    }
}
