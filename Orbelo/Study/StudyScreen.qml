import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The Study tab: a column of cards, read and tabbed through top to bottom. A new card goes into
// `cards` at its place in the column (the progress header, focus timer and daily feed belong above
// the schedule): give it Layout.fillWidth and it sizes itself; FocusReveal keeps it in sight.
ScrollView {
    id: screen

    contentWidth: availableWidth
    clip: true

    StudyScheduleModel { id: schedule }
    CalendarFeedModel { id: feed }

    Component.onCompleted: schedule.load()
    Refreshable.onRequested: schedule.load()
    Refreshable.enabled: !schedule.isLoading

    FocusReveal { id: reveal; view: screen }

    ColumnLayout {
        id: cards
        width: Math.min(screen.availableWidth - Theme.spacing.xxl * 2, 760)
        x: Theme.spacing.xxl
        spacing: Theme.spacing.l

        Item { Layout.preferredHeight: Theme.spacing.xs }

        StudyScheduleCard {
            id: scheduleCard
            Layout.fillWidth: true
            model: schedule
        }
        StudyCalendarFeedCard {
            Layout.fillWidth: true
            model: feed
            // The schedule card above is what the calendar would add.
            onPreviewRequested: {
                scheduleCard.forceActiveFocus(Qt.TabFocusReason)
                reveal.show(scheduleCard)
            }
        }

        Item { Layout.preferredHeight: Theme.spacing.l }
    }
}
