import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// "Import syllabus image": choose photos of the syllabus, then "Read photos" reads them one by
// one. Reports one outcome and closes: recognized, failed or cancelled (Escape, "Cancel"). While
// reading, Escape and "Cancel" go back to the chosen photos instead.
Popup {
    id: sheet
    signal recognized(string text, int pageCount)
    signal failed(string message)
    signal cancelled()

    // Set when an outcome closes the sheet, so that closing does not also report cancelled.
    property bool reported: false

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(560, parent ? parent.width - Theme.spacing.xxl * 2 : 560)
    height: Math.min(column.implicitHeight + padding * 2, parent ? parent.height - Theme.spacing.xxl * 2 : 680)
    padding: Theme.spacing.xl
    modal: true
    focus: true
    closePolicy: picker.isRecognizing ? Popup.NoAutoClose : Popup.CloseOnEscape
    onAboutToShow: {
        reported = false
        picker.begin()
    }
    onOpened: chooseButton.forceActiveFocus()
    onClosed: if (!reported) picker.cancel()

    function report() {
        reported = true
        close()
    }

    SyllabusImagePickerModel {
        id: picker
        onRecognized: (text, pageCount) => {
            sheet.report()
            sheet.recognized(text, pageCount)
        }
        onFailed: message => {
            sheet.report()
            sheet.failed(message)
        }
        onCancelled: sheet.cancelled()
        onIsRecognizingChanged: (isRecognizing ? cancelButton : readButton).forceActiveFocus()
    }

    FileDialog {
        id: photoDialog
        title: "Choose photos of your syllabus"
        fileMode: FileDialog.OpenFiles
        nameFilters: picker.nameFilters
        currentFolder: picker.pickerFolder
        onAccepted: {
            picker.choose(selectedFiles)
            readButton.forceActiveFocus()
        }
    }

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        spacing: Theme.spacing.m
        Accessible.role: Accessible.Dialog
        Accessible.name: "Import syllabus image"

        Text {
            text: "Import syllabus image"
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title
            font.weight: Font.Bold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            Layout.fillWidth: true
            text: picker.introText
            wrapMode: Text.WordWrap
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.callout
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        SecondaryButton {
            id: chooseButton
            text: picker.photoNames.length > 0 ? "Add photos…" : "Choose photos…"
            enabled: !picker.isRecognizing
            onClicked: photoDialog.open()
            Keys.onReturnPressed: clicked()
            Keys.onEnterPressed: clicked()
        }

        ListView {
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(contentHeight, 280)
            visible: count > 0
            clip: true
            spacing: Theme.spacing.xs
            boundsBehavior: Flickable.StopAtBounds
            model: picker.photoNames
            Accessible.role: Accessible.List
            Accessible.name: "Chosen photos"
            ScrollBar.vertical: ScrollBar {}
            delegate: RowLayout {
                required property int index
                required property string modelData
                width: ListView.view.width
                spacing: Theme.spacing.s
                SymbolIcon {
                    Layout.preferredWidth: 16
                    Layout.preferredHeight: 16
                    symbol: "doc.text"
                    tint: Theme.color.textSecondary
                    size: 16
                }
                Text {
                    Layout.fillWidth: true
                    text: (index + 1) + ". " + modelData
                    elide: Text.ElideMiddle
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.body
                    Accessible.role: Accessible.StaticText
                    Accessible.name: "Photo " + (index + 1) + ": " + modelData
                }
                SecondaryButton {
                    plain: true
                    text: "Remove"
                    Accessible.name: "Remove " + modelData
                    enabled: !picker.isRecognizing
                    onClicked: picker.removePhoto(index)
                    Keys.onReturnPressed: clicked()
                    Keys.onEnterPressed: clicked()
                }
            }
        }
        Text {
            Layout.fillWidth: true
            visible: text.length > 0
            text: picker.selectionNote
            wrapMode: Text.WordWrap
            color: Theme.color.warning
            font.pixelSize: Theme.font.callout
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
        }

        RowLayout {
            Layout.fillWidth: true
            visible: picker.isRecognizing
            spacing: Theme.spacing.s
            BusyIndicator {
                Layout.preferredWidth: 20
                Layout.preferredHeight: 20
                running: picker.isRecognizing
                Accessible.ignored: true
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 0
                Text {
                    text: "Reading your pages…"
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.body
                    font.weight: Font.Medium
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                Text {
                    text: picker.progressText
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: Theme.spacing.s
            spacing: Theme.spacing.s
            Item { Layout.fillWidth: true }
            SecondaryButton {
                id: cancelButton
                text: "Cancel"
                Accessible.description: picker.isRecognizing
                                        ? "Stops reading and goes back to the chosen photos" : "Closes without reading"
                onClicked: picker.isRecognizing ? picker.cancelReading() : sheet.close()
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                // While reading the sheet ignores Escape: here it stops the reading.
                Keys.onEscapePressed: event => {
                    event.accepted = picker.isRecognizing
                    if (event.accepted)
                        picker.cancelReading()
                }
            }
            PrimaryButton {
                id: readButton
                text: "Read photos"
                enabled: picker.canRead
                Accessible.description: "Reads the text of the chosen photos on this computer"
                onClicked: picker.read()
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
            }
        }
    }
}
