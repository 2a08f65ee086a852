import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// Setting up a practice test: course, question type, number of questions, difficulty and topic,
// the course's generation quota, and "Start Practice Test". While the quiz is being written the
// line says how far it got; Escape or "Cancel" stops it.
FocusScope {
    id: view
    required property QuizSetupModel model

    Keys.onEscapePressed: event => {
        event.accepted = view.model.isGenerating
        view.model.cancel()
    }

    Column {
        anchors.centerIn: parent
        width: Math.min(view.width - Theme.spacing.xxl * 2, 420)
        visible: view.model.isLoadingCourses
        spacing: Theme.spacing.m
        BusyIndicator {
            anchors.horizontalCenter: parent.horizontalCenter
            running: parent.visible
            Accessible.ignored: true
        }
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: "Loading courses…"
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.body
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }

    EmptyStateView {
        anchors.fill: parent
        visible: view.model.hasNoCourses && !view.model.isLoadingCourses
        symbol: "books.vertical"
        title: "No courses yet"
        message: "Upload a syllabus or lecture notes from the Library tab to start studying."
    }

    // Without courses to set up with (none yet, or they failed to load), the heading's Refresh
    // stands here: a course added in the Library since is one click away.
    RefreshButton {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: Theme.spacing.xxl
        visible: view.model.courses.length === 0 && !view.model.isLoadingCourses
        onClicked: view.model.load()
    }

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(view.width - Theme.spacing.xxl * 2, 520)
        visible: view.model.coursesError.length > 0 && !view.model.isLoadingCourses
        spacing: Theme.spacing.m
        InlineErrorView {
            Layout.fillWidth: true
            message: view.model.coursesError
        }
        SecondaryButton {
            text: "Try again"
            Accessible.description: "Loads your courses again."
            onClicked: view.model.load()
        }
    }

    ScrollView {
        anchors.fill: parent
        contentWidth: availableWidth
        clip: true
        visible: view.model.courses.length > 0 && !view.model.isLoadingCourses

        ColumnLayout {
            width: Math.min(view.width - Theme.spacing.xxl * 2, 560)
            x: Theme.spacing.xxl
            spacing: Theme.spacing.l

            Item { Layout.preferredHeight: Theme.spacing.xs }

            RowLayout {
                Layout.fillWidth: true
                Text {
                    Layout.fillWidth: true
                    text: "Practice Test"
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.title2
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                RefreshButton {
                    enabled: !view.model.isGenerating
                    onClicked: view.model.load()
                }
            }

            Rectangle {
                Layout.fillWidth: true
                implicitHeight: form.implicitHeight + Theme.spacing.xl * 2
                radius: Theme.radius.large
                color: Theme.color.surface
                border.color: Theme.color.separator

                GridLayout {
                    id: form
                    anchors.fill: parent
                    anchors.margins: Theme.spacing.xl
                    columns: 2
                    columnSpacing: Theme.spacing.l
                    rowSpacing: Theme.spacing.m
                    enabled: !view.model.isGenerating

                    QuizFieldLabel { text: "Course" }
                    ComboBox {
                        Layout.fillWidth: true
                        model: view.model.courses
                        textRole: "label"
                        valueRole: "id"
                        // Read again once the items are in: before that every value is missing.
                        currentIndex: count > 0 ? indexOfValue(view.model.selectedCourseId) : -1
                        onActivated: view.model.selectedCourseId = currentValue
                        Accessible.name: "Course"
                        Accessible.description: "The course the quiz is written from."
                    }

                    QuizFieldLabel { text: "Question type" }
                    ComboBox {
                        Layout.fillWidth: true
                        model: view.model.questionTypes
                        textRole: "label"
                        valueRole: "value"
                        // Read again once the items are in: before that every value is missing.
                        currentIndex: count > 0 ? indexOfValue(view.model.questionType) : -1
                        onActivated: view.model.questionType = currentValue
                        Accessible.name: "Question type"
                        Accessible.description: "Multiple choice, true or false, or fill in the blank."
                    }

                    QuizFieldLabel { text: view.model.questionCountLabel }
                    SpinBox {
                        from: 1
                        to: 20
                        stepSize: 1
                        value: view.model.questionCount
                        onValueModified: view.model.questionCount = value
                        Accessible.name: view.model.questionCountLabel
                        Accessible.description: "How many questions the quiz has, from 1 to 20."
                    }

                    QuizFieldLabel { text: "Difficulty" }
                    ComboBox {
                        Layout.fillWidth: true
                        model: view.model.difficulties
                        textRole: "label"
                        valueRole: "value"
                        // Read again once the items are in: before that every value is missing.
                        currentIndex: count > 0 ? indexOfValue(view.model.difficulty) : -1
                        onActivated: view.model.difficulty = currentValue
                        Accessible.name: "Difficulty"
                        Accessible.description: "How hard the questions are."
                    }
                }
            }

            FormField {
                Layout.fillWidth: true
                label: "Topic (optional)"
                placeholder: "For example: cell membranes"
                description: "Narrows the quiz to one topic of the course. Leave it empty for the whole course."
                text: view.model.topic
                enabled: !view.model.isGenerating
                onEdited: text => view.model.topic = text
                onAccepted: view.model.generate()
            }

            RowLayout {
                visible: view.model.isLoadingCacheStatus || view.model.cacheStatusLines.length > 0
                spacing: Theme.spacing.s
                BusyIndicator {
                    visible: view.model.isLoadingCacheStatus
                    running: visible
                    implicitWidth: 20
                    implicitHeight: 20
                    Accessible.name: "Checking today's quiz quota"
                }
                Repeater {
                    model: view.model.cacheStatusLines
                    Chip {
                        required property string modelData
                        text: modelData
                        focusPolicy: Qt.NoFocus
                        enabled: false
                        Accessible.role: Accessible.StaticText
                    }
                }
            }

            InlineErrorView {
                Layout.fillWidth: true
                message: view.model.errorText
            }

            RowLayout {
                spacing: Theme.spacing.m
                PrimaryButton {
                    visible: !view.model.isGenerating
                    text: "Start Practice Test"
                    symbol: "sparkles"
                    enabled: view.model.canGenerate
                    Accessible.description: "Writes a quiz from the course with these options."
                    onClicked: view.model.generate()
                }
                BusyIndicator {
                    visible: view.model.isGenerating
                    running: visible
                    implicitWidth: 28
                    implicitHeight: 28
                    Accessible.ignored: true
                }
                Text {
                    visible: view.model.isGenerating
                    text: view.model.jobStatusText
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.body
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                SecondaryButton {
                    visible: view.model.isGenerating
                    text: "Cancel"
                    Accessible.description: "Stops the in-progress quiz generation."
                    onClicked: view.model.cancel()
                }
            }

            Item { Layout.preferredHeight: Theme.spacing.l }
        }
    }
}
