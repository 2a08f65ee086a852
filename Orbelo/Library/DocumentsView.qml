import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The Library tab: the user's documents with search and course filter, adding files from the
// picker or by dropping them, the upload under way, and the message line.
Item {
    id: view
    // A ready document was opened; the shell shows its notes.
    signal openDocument(string documentId, string title, string courseId)

    DocumentsModel {
        id: library
        context: AppContext
        onOpenDocument: (documentId, title, courseId) => view.openDocument(documentId, title, courseId)
    }

    Refreshable.onRequested: library.load()
    Refreshable.enabled: !library.isLoading
    UnsavedWork.description: library.uploadingFilename.length > 0
                             ? "the upload of \u201C" + library.uploadingFilename + "\u201D" : ""
    Component.onCompleted: library.load()

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacing.xxl
        anchors.rightMargin: Theme.spacing.xxl
        anchors.topMargin: Theme.spacing.l
        anchors.bottomMargin: Theme.spacing.l
        spacing: Theme.spacing.m

        LibraryToolbar {
            Layout.fillWidth: true
            model: library
            canAdd: library.uploadingFilename.length === 0
            canImportSyllabus: !library.syllabus.isBusy
            onUploadRequested: fileDialog.open()
            onPdfRequested: syllabusPdfDialog.open()
            onScanRequested: scannerSheet.open()
            onImagesRequested: photoSheet.open()
            onCourseFormRequested: courseForm.open()
        }
        LibraryMessageBanner {
            objectName: "libraryError"
            Layout.fillWidth: true
            message: library.errorMessage
            warning: true
            onDismissed: library.dismissMessages()
        }
        LibraryMessageBanner {
            objectName: "libraryInfo"
            Layout.fillWidth: true
            message: library.errorMessage.length > 0 ? "" : library.infoMessage
            onDismissed: library.dismissMessages()
        }
        LibrarySyllabusProgress {
            Layout.fillWidth: true
            visible: library.syllabus.isBusy
            status: library.syllabus.status
            progressText: library.syllabus.progressText
            // The follow-up of an upload is only watched; there is nothing to stop.
            canCancel: library.syllabus.canCancel
            onCancelRequested: library.syllabus.cancel()
        }
        LibraryUploadProgress {
            Layout.fillWidth: true
            visible: library.uploadingFilename.length > 0
            filename: library.uploadingFilename
            progress: library.uploadProgress
            canCancel: library.canCancelUpload
            onCancelRequested: library.cancelUpload()
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ListView {
                id: list
                objectName: "libraryList"
                anchors.fill: parent
                clip: true
                spacing: Theme.spacing.xxs
                model: library.rows
                keyNavigationEnabled: true
                boundsBehavior: Flickable.StopAtBounds
                Accessible.role: Accessible.List
                Accessible.name: library.headerText
                ScrollBar.vertical: ScrollBar {}
                delegate: LibraryDocumentRow {
                    width: ListView.view.width
                    onOpenRequested: library.open(documentId)
                    onDeleteRequested: library.deleteDocument(documentId)
                }
            }
            SkeletonRows {
                anchors.left: parent.left
                anchors.right: parent.right
                visible: library.isLoading && list.count === 0
            }
            EmptyStateView {
                anchors.fill: parent
                visible: library.emptyMessage.length > 0 && !library.isLoading
                symbol: "books.vertical"
                title: library.emptyTitle
                message: library.emptyMessage
            }
        }
    }

    Rectangle {
        anchors.fill: parent
        visible: drop.containsDrag
        color: "transparent"
        radius: Theme.radius.large
        border.width: 3
        border.color: Theme.color.accent
    }
    DropArea {
        id: drop
        anchors.fill: parent
        keys: ["text/uri-list"]
        onDropped: event => {
            if (library.uploadingFilename.length > 0)
                return
            library.chooseDroppedFiles(event.urls)
            event.acceptProposedAction()
        }
    }

    FileDialog {
        id: fileDialog
        title: "Upload reading or notes"
        nameFilters: library.nameFilters
        currentFolder: library.pickerFolder
        onAccepted: library.chooseFile(selectedFile)
    }
    FileDialog {
        id: syllabusPdfDialog
        title: "Import syllabus PDF"
        nameFilters: ["PDF documents (*.pdf *.PDF)"]
        currentFolder: library.pickerFolder
        onAccepted: library.syllabus.importPdf(selectedFile)
    }
    DocumentScannerSheet {
        id: scannerSheet
        onScanned: (text, pageCount) => library.syllabus.submitScan(text, pageCount)
        onFailed: error => library.syllabus.reportScanFailure(error)
        // A machine without a camera offers the photos instead.
        onImportImagesInstead: photoSheet.open()
    }
    SyllabusImagePickerSheet {
        id: photoSheet
        onRecognized: (text, pageCount) => library.syllabus.submitPhotos(text, pageCount)
        onFailed: message => library.syllabus.reportPhotoFailure(message)
    }
    ManualCourseFormView {
        id: courseForm
        onCreated: courseId => library.courseCreated(courseId)
        onSavedWithoutPlan: library.load()
    }
    LibraryDestinationSheet {
        filename: library.pendingFilename
        courses: library.courseOptions
        onChosen: courseId => library.uploadTo(courseId)
        onCancelled: library.cancelDestination()
    }
}
