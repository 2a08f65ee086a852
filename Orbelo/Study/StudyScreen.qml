import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The Study tab, the app's home: a column of cards, read and tabbed through top to bottom — where
// the user stands (level, streak, credits), the focus timer, today's cards, then the schedule —
// and the screens they open over it (Back or Escape returns). A new card goes into `cards` at its
// place in the column: give it Layout.fillWidth and it sizes itself; FocusReveal keeps it in sight.
StackView {
    id: stack

    // The app's one timer, which runs on whatever section is shown; the card and the timer screen
    // show it.
    readonly property PomodoroTimer focusTimer: AppFocusTimer.timer
    StudyScheduleModel { id: schedule }
    CalendarFeedModel { id: feed }
    ProgressHeaderModel {
        id: progress
        context: AppContext
    }
    DailyStudyFeedModel { id: dailyFeed }

    Component.onCompleted: {
        progress.load()
        dailyFeed.load()
        schedule.load()
    }
    // Back in the tab: the level, credits and schedule other sections changed; today's cards keep
    // their place, and are fetched again only when there were none (or they failed).
    function sectionShown() {
        progress.load()
        schedule.load()
        if (!dailyFeed.isLoading && (dailyFeed.isEmpty || dailyFeed.errorMessage.length > 0))
            dailyFeed.load()
    }

    Component {
        id: timerPage
        PomodoroTimerView {
            timer: stack.focusTimer
            onCloseRequested: stack.pop()
        }
    }

    initialItem: ScrollView {
        id: screen

        contentWidth: availableWidth
        clip: true

        // Today's cards are left alone: a refresh would throw away the user's place in them.
        Refreshable.onRequested: {
            progress.load()
            schedule.load()
        }
        Refreshable.enabled: !schedule.isLoading && !progress.isLoading

        FocusReveal { id: reveal; view: screen }

        ColumnLayout {
            id: cards
            width: Math.min(screen.availableWidth - Theme.spacing.xxl * 2, 760)
            x: Theme.spacing.xxl
            spacing: Theme.spacing.l

            Item { Layout.preferredHeight: Theme.spacing.xs }

            RefreshButton {
                Layout.alignment: Qt.AlignRight
                plain: true
                enabled: screen.Refreshable.enabled
                onClicked: screen.Refreshable.requested()
            }
            ProgressHeaderView {
                Layout.fillWidth: true
                model: progress
            }
            FocusTimerCard {
                Layout.fillWidth: true
                timer: stack.focusTimer
                onOpenRequested: stack.push(timerPage)
            }
            DailyStudyFeedCard {
                Layout.fillWidth: true
                model: dailyFeed
            }
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
}
