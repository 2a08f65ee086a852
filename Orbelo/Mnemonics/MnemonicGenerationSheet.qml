import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// "Create mnemonic": pick a document (narrowed by course), a type, a difficulty and optional key
// ideas; "Create Mnemonic" asks the backend and the sheet then shows the result with its image
// actions and "Try another". Escape or "Close" close it; closing abandons a generation under way.
//
// Open it from anywhere by placing one and calling open(), with the document or the course it
// should start on (either may be left empty):
//     MnemonicGenerationSheet { id: mnemonics; documentId: doc.id; courseId: doc.courseId }
//     ... mnemonics.open()
Popup {
    id: sheet
    property string documentId
    property string courseId

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(900, parent ? parent.width - Theme.spacing.xxl * 2 : 900)
    height: Math.min(column.implicitHeight + padding * 2, parent ? parent.height - Theme.spacing.xxl * 2 : 760)
    padding: Theme.spacing.xl
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    onAboutToShow: generator.begin(sheet.documentId, sheet.courseId)
    onOpened: documentPicker.forceActiveFocus()
    onClosed: generator.cancel()

    MnemonicGenerationModel {
        id: generator
        onAnnouncement: (text) => status.text = text
        onResultChanged: {
            flickable.contentY = 0
            if (!hasResult)
                Qt.callLater(() => documentPicker.forceActiveFocus())
        }
    }

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
    }

    // Read by assistive technology when the mnemonic arrives. Kept on screen (one transparent
    // pixel) so that it stays in the accessibility tree.
    Text {
        id: status
        width: 1
        height: 1
        clip: true
        color: "transparent"
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
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
            Accessible.name: "Create mnemonic"

            RowLayout {
                Layout.fillWidth: true
                SymbolIcon {
                    symbol: "lightbulb"
                    tint: Theme.color.accent
                    size: 22
                }
                Text {
                    Layout.fillWidth: true
                    text: generator.hasResult ? "Mnemonic ready" : "Create mnemonic"
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.title
                    font.weight: Font.Bold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                SecondaryButton {
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

            // The inputs.
            GridLayout {
                Layout.fillWidth: true
                visible: !generator.hasResult
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
                    enabled: !generator.isRunning
                    onActivated: generator.courseId = currentValue
                    Accessible.name: "Course"
                    Accessible.description: "Narrows the documents to one course."
                }

                MnemonicFormLabel { text: "Document" }
                ComboBox {
                    id: documentPicker
                    Layout.fillWidth: true
                    model: generator.documents
                    textRole: "label"
                    valueRole: "id"
                    currentIndex: generator.documents.findIndex(option => option.id === generator.documentId)
                    enabled: !generator.isRunning && count > 0
                    displayText: count > 0 ? currentText : (generator.isLoading ? "Loading…" : "No documents")
                    onActivated: generator.documentId = currentValue
                    Accessible.name: "Document"
                    Accessible.description: "The document the mnemonic is made from."
                }

                MnemonicFormLabel { text: "Type" }
                ComboBox {
                    Layout.fillWidth: true
                    model: generator.types
                    textRole: "label"
                    valueRole: "value"
                    currentIndex: generator.types.findIndex(option => option.value === generator.mnemonicType)
                    enabled: !generator.isRunning
                    onActivated: generator.mnemonicType = currentValue
                    Accessible.name: "Mnemonic type"
                }

                MnemonicFormLabel { text: "Difficulty" }
                ComboBox {
                    Layout.fillWidth: true
                    model: generator.difficulties
                    textRole: "label"
                    valueRole: "value"
                    currentIndex: generator.difficulties.findIndex(option => option.value === generator.difficulty)
                    enabled: !generator.isRunning
                    onActivated: generator.difficulty = currentValue
                    Accessible.name: "Difficulty"
                }

                MnemonicFormLabel {
                    Layout.alignment: Qt.AlignTop
                    text: "Key ideas (optional)"
                }
                ScrollView {
                    Layout.fillWidth: true
                    Layout.preferredHeight: 96
                    TextArea {
                        id: keyIdeas
                        text: generator.keyIdeas
                        onTextChanged: if (text !== generator.keyIdeas) generator.keyIdeas = text
                        enabled: !generator.isRunning
                        placeholderText: "Ideas the mnemonic should cover, e.g. the stages of mitosis"
                        placeholderTextColor: Theme.color.textTertiary
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.body
                        wrapMode: TextEdit.Wrap
                        selectByMouse: true
                        Keys.onReturnPressed: event => {
                            if (event.modifiers & Qt.ControlModifier)
                                generator.generate()
                            else
                                event.accepted = false
                        }
                        Accessible.name: "Key ideas (optional)"
                        Accessible.description: "Ctrl+Enter creates the mnemonic."
                        // TextArea puts its placeholder in the description; keep the note there.
                        Component.onCompleted: Accessible.description = "Ctrl+Enter creates the mnemonic."
                        background: Rectangle {
                            radius: Theme.radius.medium
                            color: Theme.color.surface
                            border.width: keyIdeas.activeFocus ? 2 : 1
                            border.color: keyIdeas.activeFocus ? Theme.color.focusRing : Theme.color.separator
                        }
                    }
                }
            }

            RowLayout {
                Layout.fillWidth: true
                visible: !generator.hasResult
                spacing: Theme.spacing.m
                BusyIndicator {
                    visible: generator.isRunning
                    running: visible
                    implicitWidth: 28
                    implicitHeight: 28
                    Accessible.ignored: true
                }
                Item { Layout.fillWidth: true }
                PrimaryButton {
                    text: generator.generateLabel
                    symbol: "wand.and.stars"
                    enabled: generator.canGenerate
                    Accessible.name: "Create Mnemonic"
                    Accessible.description: generator.isRunning ? "Generating" : "Asks for a mnemonic of the chosen document."
                    onClicked: generator.generate()
                }
            }

            // The result.
            MnemonicDetailView {
                Layout.fillWidth: true
                visible: generator.hasResult
                text: generator.mnemonic
                explanation: generator.explanation
                title: generator.documentTitle
            }

            RowLayout {
                Layout.fillWidth: true
                visible: generator.hasResult
                Item { Layout.fillWidth: true }
                PrimaryButton {
                    text: "Try another"
                    Accessible.description: "Goes back to the choices to make another mnemonic."
                    onClicked: generator.tryAnother()
                }
            }
        }
    }
}
