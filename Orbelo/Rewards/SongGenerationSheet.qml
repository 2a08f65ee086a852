import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// "Create Study Song": the course, document and genre pickers and the key ideas, then "Generate
// Song". Once the job has started it says so, with the lyrics when they came back already.
// Escape or "Close" close it; closing abandons a request under way.
//
//     SongGenerationSheet { id: songs }   ...   songs.openFor(userRewardId)
Popup {
    id: sheet
    // Closed after a song was started: the owner may reload its rewards.
    signal finished()

    function openFor(userRewardId) {
        generator.begin(userRewardId)
        open()
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(720, parent ? parent.width - Theme.spacing.xxl * 2 : 720)
    height: Math.min(column.implicitHeight + padding * 2, parent ? parent.height - Theme.spacing.xxl * 2 : 760)
    padding: Theme.spacing.xl
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    onClosed: {
        generator.cancel()
        if (generator.succeeded)
            finished()
    }

    SongGenerationModel { id: generator }

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
    }

    Flickable {
        id: flickable
        anchors.fill: parent
        contentHeight: column.implicitHeight
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        ColumnLayout {
            id: column
            width: flickable.width
            spacing: Theme.spacing.m
            Accessible.role: Accessible.Dialog
            Accessible.name: "Create Study Song"

            RowLayout {
                Layout.fillWidth: true
                SymbolIcon {
                    symbol: "music.mic"
                    tint: Theme.color.accent
                    size: 22
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: Theme.spacing.xxs
                    Text {
                        text: generator.succeeded ? "Your song is composing" : "Create Study Song"
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.title
                        font.weight: Font.Bold
                        Accessible.role: Accessible.Heading
                        Accessible.name: text
                    }
                    Text {
                        Layout.fillWidth: true
                        text: generator.succeeded
                              ? "We're setting your notes to music. The finished track will appear under My Rewards in a minute or two — choose Refresh (Ctrl+R) there."
                              : "Turns a document into a song to help it stick"
                        color: Theme.color.textSecondary
                        font.pixelSize: Theme.font.callout
                        wrapMode: Text.Wrap
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                }
                SecondaryButton {
                    Layout.alignment: Qt.AlignTop
                    plain: true
                    text: "Close"
                    Accessible.description: "Closes this sheet."
                    onClicked: sheet.close()
                }
            }

            InlineErrorView {
                Layout.fillWidth: true
                message: generator.errorMessage
            }

            GridLayout {
                Layout.fillWidth: true
                visible: !generator.succeeded
                columns: 2
                columnSpacing: Theme.spacing.l
                rowSpacing: Theme.spacing.m

                MnemonicFormLabel { text: "Course" }
                ComboBox {
                    Layout.fillWidth: true
                    model: generator.courses
                    textRole: "label"
                    valueRole: "id"
                    currentIndex: generator.courses.findIndex(option => option.id === generator.courseId)
                    enabled: !generator.isGenerating
                    onActivated: generator.courseId = currentValue
                    Accessible.name: "Course"
                    Accessible.description: "Double tap to change the course."
                }

                MnemonicFormLabel { text: "Document" }
                ComboBox {
                    id: documentPicker
                    Layout.fillWidth: true
                    model: generator.documents
                    textRole: "label"
                    valueRole: "id"
                    currentIndex: generator.documents.findIndex(option => option.id === generator.documentId)
                    enabled: !generator.isGenerating && count > 1
                    displayText: currentIndex >= 0 ? currentText : "Select a document…"
                    onActivated: generator.documentId = currentValue
                    Accessible.name: "Document"
                    Accessible.description: generator.documentId.length > 0 ? "Double tap to change the document."
                                                                            : "Double tap to choose a document."
                }
                Item { width: 1; height: 1; visible: documentsNote.visible }
                Text {
                    id: documentsNote
                    Layout.fillWidth: true
                    visible: text.length > 0
                    text: generator.documentsMessage
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                    wrapMode: Text.Wrap
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }

                MnemonicFormLabel { text: "Genre" }
                ComboBox {
                    Layout.fillWidth: true
                    model: generator.genres
                    textRole: "label"
                    valueRole: "value"
                    currentIndex: generator.genres.findIndex(option => option.value === generator.genre)
                    enabled: !generator.isGenerating
                    onActivated: generator.genre = currentValue
                    Accessible.name: "Genre"
                    Accessible.description: "Double tap to change the genre."
                }

                MnemonicFormLabel {
                    Layout.alignment: Qt.AlignTop
                    text: "Key ideas to focus on  (optional)"
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: Theme.spacing.xs
                    ScrollView {
                        Layout.fillWidth: true
                        Layout.preferredHeight: 88
                        TextArea {
                            id: keyIdeas
                            text: generator.keyIdeas
                            onTextChanged: if (text !== generator.keyIdeas) generator.keyIdeas = text
                            enabled: !generator.isGenerating
                            placeholderText: "e.g. mitochondria, ATP, cellular respiration"
                            placeholderTextColor: Theme.color.textTertiary
                            color: Theme.color.textPrimary
                            font.pixelSize: Theme.font.body
                            wrapMode: TextEdit.Wrap
                            selectByMouse: true
                            Accessible.name: "Key ideas to focus on  (optional)"
                            // TextArea puts its placeholder in the description; keep the note there.
                            Component.onCompleted: Accessible.description = "We'll write the song around these ideas."
                            background: Rectangle {
                                radius: Theme.radius.medium
                                color: Theme.color.surface
                                border.width: keyIdeas.activeFocus ? 2 : 1
                                border.color: keyIdeas.activeFocus ? Theme.color.focusRing : Theme.color.separator
                            }
                        }
                    }
                    Text {
                        text: "We'll write the song around these ideas."
                        color: Theme.color.textTertiary
                        font.pixelSize: Theme.font.caption
                        Accessible.ignored: true
                    }
                }
            }

            PrimaryButton {
                Layout.alignment: Qt.AlignRight
                visible: !generator.succeeded
                text: generator.generateLabel
                enabled: generator.canGenerate
                Accessible.description: "Starts making the song from your choices."
                onClicked: generator.generate()
            }

            SecondaryButton {
                id: previewToggle
                property bool expanded: false
                plain: true
                visible: generator.succeeded && generator.lyrics.length > 0
                text: "Preview lyrics"
                Accessible.description: expanded ? "Hides the lyrics." : "Shows the song's lyrics."
                onClicked: expanded = !expanded
            }
            LyricsView {
                Layout.fillWidth: true
                visible: previewToggle.visible && previewToggle.expanded
                lines: generator.lyricsLines
                spokenText: generator.lyricsSpoken
            }
        }
    }
}
