import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The settings screen's "Study Reminders": Orbelo's notifications switch, the daily reminders
// switch, one row per time, and a button for another time. Changes are saved and scheduled as the
// user makes them.
SettingsSection {
    id: section
    title: "Study Reminders"

    StudyRemindersModel { id: reminders }

    StudyReminderSwitchRow {
        title: "Allow notifications"
        detail: "Study reminders and focus timer alerts from Orbelo on this desktop"
        symbol: "bell"
        checked: reminders.notificationsAllowed
        onToggledTo: (on) => reminders.notificationsAllowed = on
    }
    InlineErrorView {
        Layout.fillWidth: true
        Layout.margins: Theme.spacing.m
        Layout.topMargin: 0
        message: reminders.notificationsOffMessage
    }
    StudyReminderSwitchRow {
        title: "Daily reminders"
        detail: "A notification at each time below that opens a quick quiz"
        symbol: "calendar"
        checked: reminders.isEnabled
        onToggledTo: (on) => reminders.isEnabled = on
    }
    Repeater {
        model: reminders.isEnabled ? reminders.timeCount : 0
        StudyReminderTimeRow {
            required property int index
            readonly property var time: reminders.times[index]
            label: time.label
            hour: time.hour
            minute: time.minute
            canRemove: reminders.canRemoveTime
            onTimeChosen: (hour, minute) => reminders.setTime(index, hour, minute)
            onRemoveRequested: reminders.removeTime(index)
        }
    }
    SecondaryButton {
        Layout.leftMargin: Theme.spacing.l
        Layout.bottomMargin: Theme.spacing.m
        visible: reminders.isEnabled
        enabled: reminders.canAddTime
        plain: true
        text: "Add time"
        Accessible.description: "Adds another daily reminder, an hour after the last one."
        onClicked: reminders.addTime()
    }
    InlineErrorView {
        Layout.fillWidth: true
        Layout.margins: Theme.spacing.m
        Layout.topMargin: 0
        message: reminders.errorMessage
    }
}
