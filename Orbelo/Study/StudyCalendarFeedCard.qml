import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The calendar feed: each action with the line that says what it does, the link of this run with
// the backend's note, the busy line, the outcome, the confirmations and the .ics save dialog.
StudyCard {
    id: card
    required property CalendarFeedModel model
    // "Preview": the screen shows the schedule, which is what the calendar would add.
    signal previewRequested()

    title: "Calendar feed"
    symbol: "lock"

    Text {
        Layout.fillWidth: true
        text: "Adds your study plan and study blocks to your calendar as a subscription."
        wrapMode: Text.WordWrap
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.body
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    // Outcomes show above the actions, beside the button that was pressed.
    RowLayout {
        visible: card.model.isBusy
        spacing: Theme.spacing.s
        BusyIndicator {
            implicitWidth: 20
            implicitHeight: 20
            running: parent.visible
            Accessible.name: card.model.busyText
        }
        Text {
            text: card.model.busyText
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.callout
            Accessible.ignored: true
        }
    }

    InlineErrorView {
        Layout.fillWidth: true
        message: card.model.errorMessage
    }
    Text {
        Layout.fillWidth: true
        visible: text.length > 0
        text: card.model.infoMessage
        wrapMode: Text.WordWrap
        color: Theme.color.success
        font.pixelSize: Theme.font.callout
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    GridLayout {
        Layout.fillWidth: true
        columns: 2
        columnSpacing: Theme.spacing.l
        rowSpacing: Theme.spacing.s
        enabled: !card.model.isBusy

        PrimaryButton {
            Layout.fillWidth: true
            text: card.model.addTitle
            Accessible.description: "Creates a private calendar link and opens Calendar so you can subscribe."
            onClicked: card.model.addToCalendar()
        }
        StudyFeedCaption { text: "Creates a private calendar link and opens Calendar so you can subscribe." }

        SecondaryButton {
            Layout.fillWidth: true
            visible: card.model.hasLink
            text: "Open in Calendar"
            Accessible.description: "Opens Calendar so you can confirm the subscription."
            onClicked: card.model.openInCalendar()
        }
        StudyFeedCaption {
            visible: card.model.hasLink
            text: "Opens Calendar so you can confirm the subscription."
        }

        SecondaryButton {
            Layout.fillWidth: true
            text: "Copy link"
            Accessible.description: "Copies the calendar link. Anyone with it can see your study schedule."
            onClicked: card.model.copyLink()
        }
        StudyFeedCaption { text: "Copies the calendar link. Anyone with it can see your study schedule." }

        SecondaryButton {
            Layout.fillWidth: true
            text: "Preview"
            Accessible.description: "Shows the study weeks this calendar would add."
            onClicked: card.previewRequested()
        }
        StudyFeedCaption { text: "Shows the study weeks this calendar would add." }

        SecondaryButton {
            Layout.fillWidth: true
            text: "Save as .ics file…"
            Accessible.description: "Saves the calendar as a file, for calendar apps that import rather than subscribe."
            onClicked: {
                const file = card.model.suggestedFile().toString()
                saveDialog.currentFolder = file.substring(0, file.lastIndexOf("/"))
                saveDialog.selectedFile = file
                saveDialog.open()
            }
        }
        StudyFeedCaption { text: "Saves the calendar as a file, for calendar apps that import rather than subscribe." }

        SecondaryButton {
            Layout.fillWidth: true
            visible: card.model.canManage
            text: "Replace link"
            Accessible.description: "Creates a new link and stops the old one working."
            onClicked: card.model.requestReplace()
        }
        StudyFeedCaption {
            visible: card.model.canManage
            text: "Creates a new link and stops the old one working."
        }

        SecondaryButton {
            Layout.fillWidth: true
            visible: card.model.canManage
            text: "Stop sharing"
            Accessible.description: "Stops the link working. Your calendar will no longer update."
            onClicked: card.model.requestStopSharing()
        }
        StudyFeedCaption {
            visible: card.model.canManage
            text: "Stops the link working. Your calendar will no longer update."
        }
    }

    // This run's link, shown like a password field: it lets anyone read the schedule.
    Rectangle {
        Layout.fillWidth: true
        visible: card.model.hasLink
        implicitHeight: link.implicitHeight + Theme.spacing.s * 2
        radius: Theme.radius.small
        color: Theme.color.raised
        border.color: Theme.color.separator

        ColumnLayout {
            id: link
            x: Theme.spacing.m
            y: Theme.spacing.s
            width: parent.width - Theme.spacing.m * 2
            spacing: Theme.spacing.xs
            TextEdit {
                Layout.fillWidth: true
                text: card.model.linkText
                readOnly: true
                selectByMouse: true
                wrapMode: TextEdit.WrapAnywhere
                color: Theme.color.textPrimary
                font.family: "monospace"
                font.pixelSize: Theme.font.caption
                Accessible.role: Accessible.StaticText
                Accessible.name: "Calendar link"
                Accessible.description: "Treat it like a password."
            }
            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: card.model.refreshNote
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.caption
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }

    StudyConfirmDialog {
        id: confirmation
        title: card.model.confirmationTitle
        message: card.model.confirmationMessage
        actionText: card.model.confirmationAction
        onConfirmed: card.model.confirm()
        onCancelled: card.model.cancelConfirmation()
    }
    Connections {
        target: card.model
        function onConfirmationChanged() {
            if (card.model.confirmation.length > 0)
                confirmation.open()
            else
                confirmation.close()
        }
    }

    FileDialog {
        id: saveDialog
        title: "Save your study calendar"
        fileMode: FileDialog.SaveFile
        defaultSuffix: "ics"
        nameFilters: ["iCalendar files (*.ics)"]
        onAccepted: card.model.saveCalendarFile(selectedFile)
    }
}
