import QtQuick
import QtQuick.Controls
import DesignKit
import OrbeloModels

// "Study as flashcards": a sheet that walks through the {front, back} cards it is given. Escape,
// Exit or Finish close it.
Popup {
    id: sheet
    property var cards: []
    property string title

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(820, parent ? parent.width - Theme.spacing.xxl * 2 : 820)
    height: Math.min(640, parent ? parent.height - Theme.spacing.xxl * 2 : 640)
    padding: Theme.spacing.s
    modal: true
    focus: true
    // Escape reaches the walk, which asks to close.
    closePolicy: Popup.NoAutoClose
    onAboutToShow: notecards.startWith(sheet.cards)
    onClosed: view.stopReading()
    onOpened: view.forceActiveFocus()

    FlashcardWalk {
        id: notecards
        onFinished: sheet.close()
    }

    background: Rectangle {
        radius: Theme.radius.large
        color: Theme.color.background
        border.color: Theme.color.separator
    }

    FlashcardNotecardWalk {
        id: view
        anchors.fill: parent
        walk: notecards
        title: sheet.title
        focus: true
        Accessible.role: Accessible.Dialog
        Accessible.name: "Study as flashcards"
        onExitRequested: sheet.close()
    }
}
