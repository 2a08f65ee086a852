#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Focus/PomodoroConfig.h"
#include "Focus/PomodoroStore.h"
#include "TaskScope.h"

#include <QTimeZone>
#include <QtQml/qqmlregistration.h>

class FocusNotificationScheduler;
class PreferencesStore;

// The Pomodoro-style focus timer: focus intervals and breaks, kept in the preferences as an end
// time so the timer runs on while the app is closed. A one-second tick on the injected clock
// completes intervals, one phase step per tick; every saved state brings the one pending
// notification in line. Each focus interval is reported to the backend as a study session when a
// user is signed in; the backend's answers never change the timer.
//
// The app makes one, which runs whatever screen is shown; the screens only show it. It belongs to
// the signed-in user: when that user signs out, it is put away.
class PomodoroTimer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The app's one focus timer is AppFocusTimer.timer")
    Q_PROPERTY(Status status READ status NOTIFY stateChanged)
    Q_PROPERTY(QString phaseLabel READ phaseLabel NOTIFY stateChanged)
    // "24:59" (hours first from one hour on); the idle timer shows a whole focus interval.
    Q_PROPERTY(QString remainingText READ remainingText NOTIFY remainingChanged)
    // How much of the current interval has passed, 0 … 1.
    Q_PROPERTY(double progress READ progress NOTIFY remainingChanged)
    Q_PROPERTY(QString summary READ summary NOTIFY stateChanged)
    Q_PROPERTY(QString startHint READ startHint CONSTANT)
    // "24:13 · Focus" while a focus interval runs, for the window title; empty otherwise.
    Q_PROPERTY(QString titleText READ titleText NOTIFY remainingChanged)
    // Empty unless the user has turned notifications off.
    Q_PROPERTY(
        QString notificationsOffMessage READ notificationsOffMessage NOTIFY notificationsOffMessageChanged)
public:
    enum Status { Idle, Running, Paused };
    Q_ENUM(Status)

    static inline const QString notificationsOffText = QStringLiteral(
        "Notifications are off, so we can't tell you when an interval ends while you're in another app. "
        "The timer still runs.");

    // Today's count is kept by the user's calendar day in `zone`. The user is set with setUserId.
    PomodoroTimer(APIClient client, PreferencesStore& preferences, FocusNotificationScheduler& scheduler,
                  QTimeZone zone, PomodoroConfig config = {}, QObject* parent = nullptr);

    // The signed-in user, empty when nobody is (then no study session is sent). When the user who
    // was signed in leaves (signs out, or another signs in), their timer and today's count are put
    // away: no end call, as their session with the backend is already gone.
    void setUserId(const QString& userId);

    const std::optional<PomodoroState>& state() const { return state_; }
    int completedToday() const { return completedToday_; }
    Status status() const;
    QString phaseLabel() const;
    // Whole seconds left, rounded up.
    int remainingSeconds() const;
    QString remainingText() const { return formatRemaining(remainingSeconds()); }
    double progress() const;
    QString summary() const;
    QString startHint() const;
    QString titleText() const;
    QString notificationsOffMessage() const;

    Q_INVOKABLE void start();
    Q_INVOKABLE void pause();
    Q_INVOKABLE void resume();
    // Pause while running, resume while paused (the Space key).
    Q_INVOKABLE void togglePause();
    Q_INVOKABLE void skip();
    Q_INVOKABLE void reset();

    // The tick and the study-session calls in flight (tests).
    int runningTasks() const { return tasks_.runningCount(); }

    // "%02d:%02d" below an hour, "%d:%02d:%02d" from one hour on.
    static QString formatRemaining(int seconds);

Q_SIGNALS:
    void stateChanged();
    void remainingChanged();
    void notificationsOffMessageChanged();

private:
    static async::Task<void> ticking(PomodoroTimer* self);
    // `waited` is how long the tick slept since the wall-clock time `before`.
    void tick(const QDateTime& before, std::chrono::milliseconds waited);
    // Today's count anew when the user's day has turned since it was read.
    void followTheDay();
    // A running interval never has more left than its whole length (a clock set back while the
    // app was closed); nor has a paused one.
    void limitToPhaseLength();
    // Drops the state and today's count with no end call.
    void putAway();
    // Completes the current interval (a tick past its end, or Skip, at `endedAt`: a copy, as it may
    // come from the state being replaced) and moves to the next, which starts now.
    void advance(qint64 focusSecondsSpent, QDateTime endedAt);
    // Milliseconds left in the current interval; 0 when idle.
    qint64 remainingMs() const;
    // Seconds spent in the current interval if it is a focus interval, else 0.
    qint64 focusSecondsSpent() const;
    QDateTime now() const;
    QDate today() const { return now().toTimeZone(zone_).date(); }
    // Saves the state and brings the pending notification in line with it.
    void commit();
    void updateTicking();
    void startStudySession();
    void adoptStudySession(quint64 interval, const QString& sessionId);
    void endStudySession(const QString& sessionId, qint64 activeSeconds);

    APIClient client_;
    PomodoroStore store_;
    FocusNotificationScheduler& scheduler_;
    QTimeZone zone_;
    PomodoroConfig config_;
    QString userId_;
    bool userKnown_ = false; // setUserId has been called
    std::optional<PomodoroState> state_;
    int completedToday_ = 0;
    QDate countDay_; // the day completedToday_ counts
    // Changes with every interval, so a session id that comes back late is not given to another.
    quint64 interval_ = 0;
    std::optional<async::TaskScope::TaskId> ticker_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
