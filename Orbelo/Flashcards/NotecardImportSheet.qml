import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// "Load notecards": paste a deck or choose a file, "Preview cards", check the split, then
// "Add N cards" into a course; the sheet then closes and reports how many were added.
// Ctrl+Enter in the paste area previews. While a request is on its way, Escape and "Cancel" stop
// it and keep the sheet; otherwise they close it.
Popup {
    id: sheet
    // The course whose cards the sheet was opened from, empty for none.
    property string courseId
    signal imported(int count, string courseId)

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(640, parent ? parent.width - Theme.spacing.xxl * 2 : 640)
    height: Math.min(column.implicitHeight + padding * 2, parent ? parent.height - Theme.spacing.xxl * 2 : 760)
    padding: Theme.spacing.xl
    modal: true
    focus: true
    closePolicy: importer.isBusy ? Popup.NoAutoClose : Popup.CloseOnEscape
    onAboutToShow: importer.begin(courseId)
    onOpened: pasteArea.forceActiveFocus()
    onClosed: importer.cancel()

    NotecardImportModel {
        id: importer
        onImported: (count, courseId) => {
            sheet.close()
            sheet.imported(count, courseId)
        }
        onHasPreviewChanged: (hasPreview ? primaryButton : pasteArea).forceActiveFocus()
        onIsBusyChanged: if (isBusy) cancelButton.forceActiveFocus()
    }

    FileDialog {
        id: fileDialog
        title: "Choose a deck"
        nameFilters: importer.nameFilters
        currentFolder: importer.pickerFolder
        onAccepted: {
            importer.chooseFile(selectedFile)
            primaryButton.forceActiveFocus()
        }
    }

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
            Accessible.name: "Load notecards"

            Text {
                text: "Load notecards"
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title
                font.weight: Font.Bold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }

            ColumnLayout {
                Layout.fillWidth: true
                visible: !importer.hasPreview
                spacing: Theme.spacing.s

                Text {
                    text: "Paste your deck"
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    id: pasteHelp
                    Layout.fillWidth: true
                    text: "In Quizlet, open your set, choose <b>Export</b>, then copy the text and paste it here. "
                          + "One card per line, term and definition separated by a tab."
                    textFormat: Text.StyledText
                    wrapMode: Text.WordWrap
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                    Accessible.ignored: true
                }
                ScrollView {
                    Layout.fillWidth: true
                    Layout.preferredHeight: 160
                    enabled: importer.fileName.length === 0 && !importer.isBusy
                    TextArea {
                        id: pasteArea
                        text: importer.pastedText
                        onTextChanged: if (text !== importer.pastedText) importer.pastedText = text
                        placeholderText: "mitochondria\tpowerhouse of the cell\nribosome\tmakes protein"
                        placeholderTextColor: Theme.color.textTertiary
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.body
                        wrapMode: TextEdit.Wrap
                        selectByMouse: true
                        // Decks come in by pasting, tabs and all; Tab moves on so the keyboard can leave.
                        Keys.onTabPressed: nextItemInFocusChain(true).forceActiveFocus(Qt.TabFocusReason)
                        Keys.onBacktabPressed: nextItemInFocusChain(false).forceActiveFocus(Qt.BacktabFocusReason)
                        Keys.onReturnPressed: event => {
                            if (event.modifiers & Qt.ControlModifier)
                                importer.preview()
                            else
                                event.accepted = false
                        }
                        Accessible.name: "Paste your deck"
                        // TextArea puts its placeholder in the description; the help reads better.
                        Component.onCompleted: Accessible.description = Qt.binding(
                                                   () => "In Quizlet, open your set, choose Export, then copy the "
                                                         + "text and paste it here. One card per line, term and "
                                                         + "definition separated by a tab.")
                        background: Rectangle {
                            radius: Theme.radius.medium
                            color: Theme.color.surface
                            border.width: pasteArea.activeFocus ? 2 : 1
                            border.color: pasteArea.activeFocus ? Theme.color.focusRing : Theme.color.separator
                        }
                    }
                }

                RowLayout {
                    Layout.fillWidth: true
                    spacing: Theme.spacing.s
                    SecondaryButton {
                        id: chooseButton
                        text: "Choose a file instead"
                        enabled: !importer.isBusy
                        Accessible.description: "Opens a .txt, .csv or .tsv deck instead of pasted text"
                        onClicked: fileDialog.open()
                        Keys.onReturnPressed: clicked()
                        Keys.onEnterPressed: clicked()
                    }
                    SymbolIcon {
                        visible: importer.fileName.length > 0
                        symbol: "doc.text"
                        tint: Theme.color.textSecondary
                        size: 16
                    }
                    Text {
                        Layout.fillWidth: true
                        visible: importer.fileName.length > 0
                        text: importer.fileName
                        elide: Text.ElideMiddle
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.body
                        Accessible.role: Accessible.StaticText
                        Accessible.name: "Chosen file: " + text
                    }
                    SecondaryButton {
                        visible: importer.fileName.length > 0
                        plain: true
                        text: "Remove"
                        Accessible.name: "Remove " + importer.fileName
                        Accessible.description: "Goes back to the pasted text"
                        enabled: !importer.isBusy
                        onClicked: importer.clearFile()
                        Keys.onReturnPressed: clicked()
                        Keys.onEnterPressed: clicked()
                    }
                }
                Text {
                    Layout.fillWidth: true
                    text: importer.fileNote
                    wrapMode: Text.WordWrap
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.caption
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }

            NotecardImportPreviewView {
                Layout.fillWidth: true
                visible: importer.hasPreview
                importer: importer
            }

            InlineErrorView {
                Layout.fillWidth: true
                message: importer.errorMessage
            }
            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: importer.noticeMessage
                wrapMode: Text.WordWrap
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.AlertMessage
                Accessible.name: text
            }

            RowLayout {
                Layout.fillWidth: true
                visible: importer.isBusy
                spacing: Theme.spacing.s
                BusyIndicator {
                    Layout.preferredWidth: 20
                    Layout.preferredHeight: 20
                    running: importer.isBusy
                    Accessible.ignored: true
                }
                Text {
                    Layout.fillWidth: true
                    text: importer.busyText
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
                SecondaryButton {
                    visible: importer.hasPreview
                    plain: true
                    text: "Start over"
                    enabled: !importer.isBusy
                    Accessible.description: "Discards this preview and goes back to your deck"
                    onClicked: importer.startOver()
                    Keys.onReturnPressed: clicked()
                    Keys.onEnterPressed: clicked()
                }
                Item { Layout.fillWidth: true }
                SecondaryButton {
                    id: cancelButton
                    text: "Cancel"
                    Accessible.description: importer.isBusy ? "Stops the request and stays here"
                                                            : "Closes without adding cards"
                    onClicked: importer.isBusy ? importer.cancel() : sheet.close()
                    Keys.onReturnPressed: clicked()
                    Keys.onEnterPressed: clicked()
                    // While a request is on its way the sheet ignores Escape: here it stops the request.
                    Keys.onEscapePressed: event => {
                        event.accepted = importer.isBusy
                        if (event.accepted)
                            importer.cancel()
                    }
                }
                PrimaryButton {
                    id: primaryButton
                    text: importer.hasPreview ? importer.commitTitle : "Preview cards"
                    enabled: importer.hasPreview ? importer.canCommit : importer.canPreview
                    Accessible.description: importer.hasPreview ? "Adds the cards to the chosen course"
                                                                : "Reads your deck and shows how it splits"
                    onClicked: importer.hasPreview ? importer.commit() : importer.preview()
                    Keys.onReturnPressed: clicked()
                    Keys.onEnterPressed: clicked()
                }
            }
        }
    }
}
