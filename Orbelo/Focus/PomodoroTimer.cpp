#include "Focus/PomodoroTimer.h"

#include "Clock.h"
#include "Focus/FocusNotificationScheduler.h"
#include "Logging.h"
#include "PreferencesStore.h"
#include "StudySessions/StudySessionAPI.h"

#include <algorithm>
#include <cmath>

PomodoroTimer::PomodoroTimer(APIClient client, PreferencesStore& preferences,
                             FocusNotificationScheduler& scheduler, QTimeZone zone, PomodoroConfig config,
                             QObject* parent)
    : QObject(parent), client_(std::move(client)), store_(preferences), scheduler_(scheduler),
      zone_(std::move(zone)), config_(config) {
    connect(&scheduler_, &FocusNotificationScheduler::notificationsDeniedChanged, this,
            &PomodoroTimer::notificationsOffMessageChanged);
    state_ = store_.load();
    countDay_ = today();
    completedToday_ = store_.completedOn(countDay_);
    limitToPhaseLength();
    updateTicking();
}

void PomodoroTimer::setUserId(const QString& userId) {
    // The first user after launch is the one the stored timer was left running for.
    const bool handedOver = userKnown_ ? userId != userId_ : userId.isEmpty();
    userKnown_ = true;
    userId_ = userId;
    if (handedOver)
        putAway();
}

void PomodoroTimer::putAway() {
    const bool hadState = state_.has_value();
    state_.reset();
    ++interval_;
    store_.clear();
    store_.clearCount();
    completedToday_ = 0;
    if (hadState)
        scheduler_.cancelAll();
    updateTicking();
    Q_EMIT stateChanged();
    Q_EMIT remainingChanged();
}

void PomodoroTimer::limitToPhaseLength() {
    if (!state_)
        return;
    const qint64 length = config_.seconds(state_->phase) * 1000LL;
    if (state_->isRunning() && now().msecsTo(*state_->endsAt) > length)
        state_->endsAt = now().addMSecs(length);
    else if (!state_->isRunning() && *state_->pausedRemaining * 1000 > double(length))
        state_->pausedRemaining = double(length) / 1000;
    else
        return;
    commit();
}

PomodoroTimer::Status PomodoroTimer::status() const {
    if (!state_)
        return Idle;
    return state_->isRunning() ? Running : Paused;
}

QString PomodoroTimer::phaseLabel() const {
    return label(state_ ? state_->phase : PomodoroPhase::work);
}

int PomodoroTimer::remainingSeconds() const {
    return int((remainingMs() + 999) / 1000);
}

double PomodoroTimer::progress() const {
    if (!state_)
        return 0;
    const double length = config_.seconds(state_->phase) * 1000.0;
    return std::clamp(1.0 - double(remainingMs()) / length, 0.0, 1.0);
}

QString PomodoroTimer::summary() const {
    if (!state_)
        return QStringLiteral("%1 min focus · %2 min break")
            .arg(config_.minutes(PomodoroPhase::work))
            .arg(config_.minutes(PomodoroPhase::shortBreak));
    const int per = config_.perLongBreak();
    return QStringLiteral("%1 completed today · %2/%3 to a long break")
        .arg(completedToday_)
        .arg(state_->completedWorkIntervals % per)
        .arg(per);
}

QString PomodoroTimer::startHint() const {
    return QStringLiteral("Starts a %1 minute focus interval.").arg(config_.minutes(PomodoroPhase::work));
}

QString PomodoroTimer::titleText() const {
    if (status() != Running || state_->phase != PomodoroPhase::work)
        return {};
    return remainingText() + QStringLiteral(" · ") + phaseLabel();
}

QString PomodoroTimer::notificationsOffMessage() const {
    return scheduler_.notificationsDenied() ? notificationsOffText : QString();
}

QString PomodoroTimer::formatRemaining(int seconds) {
    seconds = std::max(seconds, 0);
    const int hours = seconds / 3600;
    const int minutes = seconds / 60 % 60;
    if (hours == 0)
        return QString::asprintf("%02d:%02d", minutes, seconds % 60);
    return QString::asprintf("%d:%02d:%02d", hours, minutes, seconds % 60);
}

void PomodoroTimer::start() {
    if (state_)
        return;
    PomodoroState state;
    state.endsAt = now().addSecs(config_.seconds(PomodoroPhase::work));
    state_ = state;
    ++interval_;
    commit();
    startStudySession();
    Q_EMIT stateChanged();
    Q_EMIT remainingChanged();
}

void PomodoroTimer::pause() {
    if (!state_ || !state_->isRunning())
        return;
    followTheDay();
    state_->pausedRemaining = double(remainingMs()) / 1000;
    state_->endsAt.reset();
    commit();
    Q_EMIT stateChanged();
    Q_EMIT remainingChanged();
}

void PomodoroTimer::resume() {
    if (!state_ || state_->isRunning())
        return;
    followTheDay();
    state_->endsAt = now().addMSecs(qint64(std::llround(*state_->pausedRemaining * 1000)));
    state_->pausedRemaining.reset();
    commit();
    Q_EMIT stateChanged();
    Q_EMIT remainingChanged();
}

void PomodoroTimer::togglePause() {
    if (status() == Running)
        pause();
    else if (status() == Paused)
        resume();
}

void PomodoroTimer::skip() {
    if (state_)
        advance(focusSecondsSpent(), now());
}

void PomodoroTimer::reset() {
    if (!state_)
        return;
    if (state_->studySessionId)
        endStudySession(*state_->studySessionId, focusSecondsSpent());
    state_.reset();
    ++interval_;
    store_.clear();
    scheduler_.cancelAll();
    updateTicking();
    Q_EMIT stateChanged();
    Q_EMIT remainingChanged();
}

async::Task<void> PomodoroTimer::ticking(PomodoroTimer* self) {
    for (;;) {
        // Ticks fall on the interval's whole seconds, so the last one lands on its end.
        const qint64 toNextSecond = self->remainingMs() % 1000;
        const std::chrono::milliseconds wait(toNextSecond > 0 ? toNextSecond : 1000);
        const QDateTime before = self->now();
        co_await async::Clock::current().sleep(wait);
        self->tick(before, wait);
    }
}

void PomodoroTimer::tick(const QDateTime& before, std::chrono::milliseconds waited) {
    // The wall clock moved on less than the tick waited: it was set back, and the interval keeps
    // the time it had left. One set forward (or a machine that slept) is time gone by: the interval
    // ends on this tick when its end has passed.
    const qint64 setBack = waited.count() - before.msecsTo(now());
    if (setBack > 0 && state_ && state_->isRunning()) {
        state_->endsAt = state_->endsAt->addMSecs(-setBack);
        commit();
    }
    followTheDay();
    // One step per tick: after a long absence the next interval starts now, and the one after it
    // waits for its own end.
    if (state_ && state_->isRunning() && now() >= *state_->endsAt)
        advance(state_->phase == PomodoroPhase::work ? config_.seconds(PomodoroPhase::work) : 0,
                *state_->endsAt);
    else
        Q_EMIT remainingChanged();
}

void PomodoroTimer::followTheDay() {
    const QDate day = today();
    if (day == countDay_)
        return;
    countDay_ = day;
    const int count = store_.completedOn(day);
    if (count == completedToday_)
        return;
    completedToday_ = count;
    Q_EMIT stateChanged();
}

void PomodoroTimer::advance(qint64 focusSeconds, QDateTime endedAt) {
    const PomodoroState ended = *state_;
    const bool wasWork = ended.phase == PomodoroPhase::work;
    PomodoroState next;
    next.completedWorkIntervals = ended.completedWorkIntervals + (wasWork ? 1 : 0);
    next.phase = config_.next(ended.phase, next.completedWorkIntervals);
    next.endsAt = now().addSecs(config_.seconds(next.phase));
    state_ = next;
    ++interval_;
    if (wasWork) {
        // Counted on the user's day it ended: one that ended before midnight while the app was
        // closed or the machine asleep is not today's.
        followTheDay();
        if (endedAt.toTimeZone(zone_).date() == countDay_)
            completedToday_ = store_.addCompletion(countDay_);
        if (ended.studySessionId)
            endStudySession(*ended.studySessionId, focusSeconds);
    }
    commit();
    // Each focus interval is a study session of its own, so every one of them earns credit.
    if (next.phase == PomodoroPhase::work)
        startStudySession();
    Q_EMIT stateChanged();
    Q_EMIT remainingChanged();
}

qint64 PomodoroTimer::remainingMs() const {
    if (!state_)
        return config_.seconds(PomodoroPhase::work) * 1000LL;
    if (state_->isRunning())
        return std::max<qint64>(0, now().msecsTo(*state_->endsAt));
    return qint64(std::llround(*state_->pausedRemaining * 1000));
}

qint64 PomodoroTimer::focusSecondsSpent() const {
    if (!state_ || state_->phase != PomodoroPhase::work)
        return 0;
    return std::max<qint64>(0, (config_.seconds(PomodoroPhase::work) * 1000LL - remainingMs()) / 1000);
}

QDateTime PomodoroTimer::now() const {
    return async::Clock::current().now();
}

void PomodoroTimer::commit() {
    store_.save(*state_);
    if (state_->isRunning()) {
        const bool focus = state_->phase == PomodoroPhase::work;
        scheduler_.schedule(focus ? QStringLiteral("Focus interval done") : QStringLiteral("Break's over"),
                            focus ? QStringLiteral("Time for a break.")
                                  : QStringLiteral("Ready for another focus interval?"),
                            *state_->endsAt);
    } else {
        scheduler_.cancelAll();
    }
    updateTicking();
}

void PomodoroTimer::updateTicking() {
    const bool running = state_ && state_->isRunning();
    if (running && !ticker_)
        ticker_ = tasks_.spawn(ticking(this));
    else if (!running && ticker_) {
        tasks_.cancel(*ticker_);
        ticker_.reset();
    }
}

void PomodoroTimer::startStudySession() {
    if (userId_.isEmpty())
        return;
    const quint64 interval = interval_;
    tasks_.spawn(
        StudySessionAPI(client_).start(userId_, std::nullopt),
        [this, interval](const StudySessionResponse& response) {
            adoptStudySession(interval, response.sessionId);
        },
        [](std::exception_ptr) {
            qCDebug(lcFocus) << "Couldn't start a study session; the timer runs without one";
        });
}

void PomodoroTimer::adoptStudySession(quint64 interval, const QString& sessionId) {
    if (interval != interval_ || !state_)
        return;
    state_->studySessionId = sessionId;
    // Only the id is new: the pending notification already matches.
    store_.save(*state_);
}

void PomodoroTimer::endStudySession(const QString& sessionId, qint64 activeSeconds) {
    if (userId_.isEmpty())
        return;
    EndStudySessionRequest request;
    request.userId = userId_;
    request.sessionId = sessionId;
    request.activeSeconds = int(activeSeconds);
    tasks_.spawn(
        StudySessionAPI(client_).end(request), [](const StudySessionResponse&) {},
        [](std::exception_ptr) { qCDebug(lcFocus) << "Couldn't end a study session"; });
}
