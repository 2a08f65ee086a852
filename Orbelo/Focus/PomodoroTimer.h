#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "PomodoroConfig.h"
#include "PomodoroStore.h"
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
class PomodoroTimer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Status status READ status NOTIFY stateChanged)
    Q_PROPERTY(QString phaseLabel READ phaseLabel NOTIFY stateChanged)
    // "24:59" (hours first from one hour on); the idle timer shows a whole focus interval.
    Q_PROPERTY(QString remainingText READ remainingText NOTIFY remainingChanged)
    // How much of the current interval has passed, 0 … 1.
    Q_PROPERTY(double progress READ progress NOTIFY remainingChanged)
    Q_PROPERTY(QString summary READ summary NOTIFY stateChanged)
    Q_PROPERTY(QString startHint READ startHint CONSTANT)
    // Empty unless the user has turned notifications off.
    Q_PROPERTY(
        QString notificationsOffMessage READ notificationsOffMessage NOTIFY notificationsOffMessageChanged)
public:
    enum Status { Idle, Running, Paused };
    Q_ENUM(Status)

    static inline const QString notificationsOffText = QStringLiteral(
        "Notifications are off, so we can't tell you when an interval ends while you're in another app. "
        "The timer still runs.");

    // The app's backend client, preferences, notification scheduler and signed-in user, in the
    // system's time zone.
    explicit PomodoroTimer(QObject* parent = nullptr);
    // The user is set with setUserId.
    PomodoroTimer(APIClient client, PreferencesStore& preferences, FocusNotificationScheduler& scheduler,
                  QTimeZone zone, PomodoroConfig config = {}, QObject* parent = nullptr);

    // Empty: nobody is signed in, and no study session is sent.
    void setUserId(const QString& userId) { userId_ = userId; }

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
    void tick();
    // Completes the current interval now (a tick past its end, or Skip) and moves to the next.
    void advance(qint64 focusSecondsSpent);
    // Milliseconds left in the current interval; 0 when idle.
    qint64 remainingMs() const;
    // Seconds spent in the current interval if it is a focus interval, else 0.
    qint64 focusSecondsSpent() const;
    QDateTime now() const;
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
    std::optional<PomodoroState> state_;
    int completedToday_ = 0;
    // Changes with every interval, so a session id that comes back late is not given to another.
    quint64 interval_ = 0;
    std::optional<async::TaskScope::TaskId> ticker_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
