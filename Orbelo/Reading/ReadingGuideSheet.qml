import QtQuick
import QtQuick.Controls
import DesignKit

// The reading guide over the window, for a course or one of its documents:
//     ReadingGuideSheet { id: guide; courseId: doc.courseId; documentId: doc.id; title: doc.title }
//     ... guide.open()
// Escape or "Close" close it; closing stops reading the notes aloud.
Popup {
    id: sheet
    property string courseId
    property string documentId
    property string title

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(900, parent ? parent.width - Theme.spacing.xxl * 2 : 900)
    height: parent ? parent.height - Theme.spacing.xxl * 2 : 760
    padding: Theme.spacing.s
    modal: true
    focus: true
    // Escape reaches the view, which asks to close.
    closePolicy: Popup.NoAutoClose
    onOpened: loader.item.forceActiveFocus()

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.background
        border.color: Theme.color.separator
    }

    // A fresh guide each time the sheet opens, for what it is opened on then.
    Loader {
        id: loader
        anchors.fill: parent
        active: sheet.visible
        sourceComponent: ReadingGuideView {
            courseId: sheet.courseId
            documentId: sheet.documentId
            title: sheet.title
            Accessible.role: Accessible.Dialog
            Accessible.name: "Reading guide"
            onCloseRequested: sheet.close()
        }
    }
}
