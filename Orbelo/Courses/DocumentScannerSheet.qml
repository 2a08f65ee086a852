import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtMultimedia
import DesignKit
import OrbeloModels

// "Scan syllabus" with the webcam: capture each page, then "Done" reads them. Reports one
// outcome and closes: scanned, failed or cancelled (Escape, "Cancel"). While the pages are being
// read, Escape and "Cancel" go back to capturing instead. Without a camera it offers the photo
// picker (importImagesInstead).
Popup {
    id: sheet
    signal scanned(string text, int pageCount)
    signal failed(string error)
    signal cancelled()
    signal importImagesInstead()

    // Set when an outcome closes the sheet, so that closing does not also report cancelled.
    property bool reported: false

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(680, parent ? parent.width - Theme.spacing.xxl * 2 : 680)
    height: Math.min(column.implicitHeight + padding * 2, parent ? parent.height - Theme.spacing.xxl * 2 : 760)
    padding: Theme.spacing.xl
    modal: true
    focus: true
    closePolicy: scanner.isReading ? Popup.NoAutoClose : Popup.CloseOnEscape
    onAboutToShow: {
        reported = false
        scanner.begin()
    }
    onOpened: (scanner.hasCamera ? captureButton : importButton).forceActiveFocus()
    onClosed: {
        scanner.end()
        if (!reported)
            scanner.cancel()
    }

    function report() {
        reported = true
        close()
    }

    DocumentScannerModel {
        id: scanner
        onScanned: (text, pageCount) => {
            sheet.report()
            sheet.scanned(text, pageCount)
        }
        onFailed: error => {
            sheet.report()
            sheet.failed(error)
        }
        onCancelled: sheet.cancelled()
        onImportImagesInstead: {
            sheet.report()
            sheet.importImagesInstead()
        }
        onIsReadingChanged: if (isReading) cancelButton.forceActiveFocus()
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
        Accessible.name: "Scan syllabus"

        Text {
            text: "Scan syllabus"
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title
            font.weight: Font.Bold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            Layout.fillWidth: true
            text: "Hold each page flat in front of the camera and capture it. We read the text on your device."
            wrapMode: Text.WordWrap
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.callout
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: width * 9 / 16
            radius: Theme.radius.medium
            color: Theme.color.raised
            clip: true

            VideoOutput {
                id: preview
                anchors.fill: parent
                visible: scanner.hasCamera
                fillMode: VideoOutput.PreserveAspectFit
                Accessible.role: Accessible.Graphic
                Accessible.name: "Camera preview"
                Component.onCompleted: scanner.attachPreview(preview)
            }
            ColumnLayout {
                anchors.centerIn: parent
                width: parent.width - Theme.spacing.xxl * 2
                visible: !scanner.hasCamera
                spacing: Theme.spacing.m
                SymbolIcon {
                    Layout.alignment: Qt.AlignHCenter
                    Layout.preferredWidth: 28
                    Layout.preferredHeight: 28
                    symbol: "exclamationmark.triangle"
                    tint: Theme.color.textSecondary
                    size: 28
                }
                Text {
                    Layout.fillWidth: true
                    text: scanner.cameraMessage
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.body
                    Accessible.role: Accessible.AlertMessage
                    Accessible.name: text
                }
                SecondaryButton {
                    id: importButton
                    Layout.alignment: Qt.AlignHCenter
                    text: "Import syllabus image"
                    Accessible.description: "Reads photos of your syllabus instead"
                    enabled: !scanner.isReading
                    onClicked: scanner.chooseImagesInstead()
                    Keys.onReturnPressed: clicked()
                    Keys.onEnterPressed: clicked()
                }
            }
        }
        // A failed still, with the camera still there.
        InlineErrorView {
            Layout.fillWidth: true
            message: scanner.hasCamera ? scanner.cameraMessage : ""
        }

        ScannerPageStrip {
            Layout.fillWidth: true
            thumbnails: scanner.thumbnails
            removable: !scanner.isReading
            onRemoveRequested: index => scanner.removePage(index)
        }

        RowLayout {
            Layout.fillWidth: true
            visible: scanner.isReading
            spacing: Theme.spacing.s
            BusyIndicator {
                Layout.preferredWidth: 20
                Layout.preferredHeight: 20
                running: scanner.isReading
                Accessible.ignored: true
            }
            Text {
                Layout.fillWidth: true
                text: scanner.progressText
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.s
            SecondaryButton {
                id: cancelButton
                text: "Cancel"
                Accessible.description: scanner.isReading
                                        ? "Stops reading and goes back to capturing" : "Closes without reading"
                onClicked: scanner.isReading ? scanner.cancelReading() : sheet.close()
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                // While reading the sheet ignores Escape: here it stops the reading.
                Keys.onEscapePressed: event => {
                    event.accepted = scanner.isReading
                    if (event.accepted)
                        scanner.cancelReading()
                }
            }
            Item { Layout.fillWidth: true }
            SecondaryButton {
                id: captureButton
                text: "Capture page"
                enabled: scanner.canCapture
                onClicked: scanner.capturePage()
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
            }
            PrimaryButton {
                text: "Done"
                enabled: scanner.canFinish
                Accessible.description: scanner.pageCount === 1 ? "Reads the captured page"
                                                                : "Reads the " + scanner.pageCount + " captured pages"
                onClicked: scanner.done()
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
            }
        }
    }
}
