import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// "Add a course" by hand. Only the title is required; Enter in a field (Ctrl+Enter in the topics)
// creates the course.
// Escape or "Cancel" closes the form, but not while the course is being created: its outcome
// would be lost.
Popup {
    id: sheet
    signal created(string courseId)
    // Saved, but its study plan did not start: the form stays open with the message.
    signal savedWithoutPlan(string courseId)

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(560, parent ? parent.width - Theme.spacing.xxl * 2 : 560)
    height: Math.min(column.implicitHeight + padding * 2, parent ? parent.height - Theme.spacing.xxl * 2 : 720)
    padding: Theme.spacing.xl
    modal: true
    focus: true
    closePolicy: form.isSubmitting ? Popup.NoAutoClose : Popup.CloseOnEscape
    onAboutToShow: form.reset()
    onOpened: if (form.titleFocused) titleField.input.forceActiveFocus()
    UnsavedWork.description: sheet.opened && form.title.trim().length > 0 ? "the course you are typing" : ""

    ManualCourseFormModel {
        id: form
        onCreated: courseId => {
            sheet.close()
            sheet.created(courseId)
        }
        onSavedWithoutPlan: courseId => sheet.savedWithoutPlan(courseId)
    }

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
            enabled: !form.isSubmitting
            Accessible.role: Accessible.Dialog
            Accessible.name: "Add a course"

            Text {
                text: "Add a course"
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title
                font.weight: Font.Bold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }

            FormField {
                id: titleField
                Layout.fillWidth: true
                label: "Course title"
                placeholder: "e.g. BIOL 201 — Cell Biology"
                description: "The only thing we need. Everything below makes your plan better."
                text: form.title
                onEdited: value => form.title = value
                onAccepted: form.create()
                input.onActiveFocusChanged: form.titleFocused = input.activeFocus
            }
            Text {
                Layout.fillWidth: true
                text: "The only thing we need. Everything below makes your plan better."
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.caption
                Accessible.ignored: true
            }

            CourseFormSection { text: "Details" }
            FormField {
                Layout.fillWidth: true
                label: "Course code"
                placeholder: "Code (optional) — e.g. BIOL 201"
                text: form.code
                onEdited: value => form.code = value
                onAccepted: form.create()
            }
            FormField {
                Layout.fillWidth: true
                label: "Instructor"
                placeholder: "Instructor (optional)"
                text: form.instructor
                onEdited: value => form.instructor = value
                onAccepted: form.create()
            }
            FormField {
                Layout.fillWidth: true
                label: "Meets"
                placeholder: "Meets (optional) — e.g. Mon/Wed 10am"
                text: form.meetingTimes
                onEdited: value => form.meetingTimes = value
                onAccepted: form.create()
            }

            CourseFormSection { text: "Topics" }
            ScrollView {
                Layout.fillWidth: true
                Layout.preferredHeight: 112
                TextArea {
                    id: topics
                    text: form.topicsText
                    onTextChanged: if (text !== form.topicsText) form.topicsText = text
                    placeholderText: "Cell structure\nMembranes and transport\nMitosis"
                    placeholderTextColor: Theme.color.textTertiary
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.body
                    wrapMode: TextEdit.Wrap
                    selectByMouse: true
                    // Enter starts a new topic; Ctrl+Enter creates the course as in the other fields.
                    Keys.onReturnPressed: event => {
                        if (event.modifiers & Qt.ControlModifier)
                            form.create()
                        else
                            event.accepted = false
                    }
                    Accessible.name: "Topics"
                    Accessible.description: topicsNote.text
                    // TextArea puts its placeholder in the description; keep the note there.
                    Component.onCompleted: Accessible.description = Qt.binding(() => topicsNote.text)
                    background: Rectangle {
                        radius: Theme.radius.medium
                        color: Theme.color.surface
                        border.width: topics.activeFocus ? 2 : 1
                        border.color: topics.activeFocus ? Theme.color.focusRing : Theme.color.separator
                    }
                }
            }
            Text {
                id: topicsNote
                Layout.fillWidth: true
                text: "One per line. These become the weeks of your study plan, so a few is plenty to start."
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.caption
                Accessible.ignored: true
            }

            InlineErrorView {
                Layout.fillWidth: true
                message: form.errorMessage
            }
            RowLayout {
                Layout.fillWidth: true
                visible: form.isSubmitting
                spacing: Theme.spacing.s
                BusyIndicator {
                    Layout.preferredWidth: 20
                    Layout.preferredHeight: 20
                    running: form.isSubmitting
                    Accessible.ignored: true
                }
                Text {
                    Layout.fillWidth: true
                    text: form.statusMessage
                    elide: Text.ElideRight
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }

            RowLayout {
                Layout.fillWidth: true
                Layout.topMargin: Theme.spacing.s
                spacing: Theme.spacing.s
                Item { Layout.fillWidth: true }
                SecondaryButton {
                    text: "Cancel"
                    onClicked: sheet.close()
                    Keys.onReturnPressed: clicked()
                    Keys.onEnterPressed: clicked()
                }
                PrimaryButton {
                    text: "Create"
                    enabled: form.canCreate
                    Accessible.description: "Creates the course and starts its study plan"
                    onClicked: form.create()
                    Keys.onReturnPressed: clicked()
                    Keys.onEnterPressed: clicked()
                }
            }
        }
    }
}
