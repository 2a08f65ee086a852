import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// Choosing what to study: the deck mode, the course, the deck's state, and the actions that fill
// a course's deck (vocabulary generation, notecard import). Enter starts studying.
FocusScope {
    id: view
    required property FlashcardDeckModel model

    Keys.onReturnPressed: view.model.start()
    Keys.onEnterPressed: view.model.start()

    ScrollView {
        anchors.fill: parent
        contentWidth: availableWidth
        clip: true

        ColumnLayout {
            width: Math.min(view.width - Theme.spacing.xxl * 2, 720)
            x: Theme.spacing.xxl
            spacing: Theme.spacing.l

            Item { Layout.preferredHeight: Theme.spacing.xs }

            RowLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.s
                Text {
                    Layout.fillWidth: true
                    text: "Flashcards"
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.title2
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                RefreshButton {
                    enabled: !view.model.isLoading
                    onClicked: view.model.load()
                }
                FlashcardKeyButton {
                    text: "Load notecards"
                    description: "Bring a deck over from Quizlet — paste the export or pick a .txt, .csv or .tsv file."
                    enabled: view.model.selectedCourseId.length > 0
                    onClicked: view.model.importRequested()
                }
            }

            RowLayout {
                spacing: Theme.spacing.xs
                Accessible.role: Accessible.Grouping
                Accessible.name: "Deck"
                Repeater {
                    model: view.model.modes
                    Chip {
                        required property var modelData
                        required property int index
                        text: modelData.label
                        selected: view.model.mode === index
                        Accessible.description: modelData.description
                        onClicked: view.model.mode = index
                    }
                }
            }
            Text {
                Layout.fillWidth: true
                text: view.model.modeDescription
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            RowLayout {
                visible: view.model.needsCourse && view.model.courses.length > 0
                spacing: Theme.spacing.s
                Text {
                    text: "Course"
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.body
                    Accessible.ignored: true
                }
                ComboBox {
                    Layout.preferredWidth: 280
                    model: view.model.courses
                    textRole: "label"
                    valueRole: "id"
                    currentIndex: indexOfValue(view.model.selectedCourseId)
                    onActivated: view.model.selectedCourseId = currentValue
                    Accessible.name: "Course"
                    Accessible.description: "The course whose cards you study."
                }
            }

            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: view.model.noticeText
                wrapMode: Text.WordWrap
                color: Theme.color.success
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            Rectangle {
                Layout.fillWidth: true
                implicitHeight: deckColumn.implicitHeight + Theme.spacing.xl * 2
                radius: Theme.radius.large
                color: Theme.color.surface
                border.color: Theme.color.separator

                ColumnLayout {
                    id: deckColumn
                    anchors.fill: parent
                    anchors.margins: Theme.spacing.xl
                    spacing: Theme.spacing.m

                    BusyIndicator {
                        visible: view.model.isLoading
                        running: visible
                        Layout.alignment: Qt.AlignHCenter
                        Accessible.name: "Loading the deck"
                    }
                    Text {
                        visible: view.model.cardCount > 0 && !view.model.isLoading
                        Layout.fillWidth: true
                        text: view.model.deckTitle + " · " + view.model.cardCount
                              + (view.model.cardCount === 1 ? " card" : " cards")
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.headline
                        font.weight: Font.DemiBold
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                    Text {
                        visible: text.length > 0
                        Layout.fillWidth: true
                        text: view.model.statusText
                        wrapMode: Text.WordWrap
                        color: Theme.color.textSecondary
                        font.pixelSize: Theme.font.body
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                    PrimaryButton {
                        visible: view.model.canStart
                        text: "Start studying"
                        symbol: "rectangle.on.rectangle"
                        hoverEnabled: true
                        Accessible.description: "Opens this deck. Shortcut: Enter."
                        ToolTip.visible: hovered
                        ToolTip.delay: 400
                        ToolTip.text: "Start studying (Enter)"
                        onClicked: view.model.start()
                    }
                }
            }

            ColumnLayout {
                visible: view.model.needsCourse
                Layout.fillWidth: true
                spacing: Theme.spacing.xs
                RowLayout {
                    spacing: Theme.spacing.s
                    FlashcardKeyButton {
                        text: view.model.generateLabel
                        enabled: !view.model.isGenerating
                        description: "Builds this course's key terms from its syllabus and documents. It runs in the background and takes a minute or two."
                        onClicked: view.model.generateVocabulary()
                    }
                    BusyIndicator {
                        visible: view.model.isGenerating
                        running: visible
                        implicitWidth: 24
                        implicitHeight: 24
                        Accessible.name: "Starting vocabulary generation"
                    }
                }
                Text {
                    Layout.fillWidth: true
                    text: "Builds this course's key terms from its syllabus and documents. It runs in the background and takes a minute or two."
                    wrapMode: Text.WordWrap
                    color: Theme.color.textTertiary
                    font.pixelSize: Theme.font.caption
                    Accessible.ignored: true
                }
            }
        }
    }
}
