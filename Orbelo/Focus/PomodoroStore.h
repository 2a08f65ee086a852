#pragma once

#include "Focus/PomodoroState.h"

#include <QDate>

class PreferencesStore;

// The focus timer's preferences: its state, and the focus intervals completed on the day named by
// the day key.
class PomodoroStore {
public:
    static inline const QString stateKey = QStringLiteral("pomodoro.state");
    static inline const QString completedTodayKey = QStringLiteral("pomodoro.completedToday");
    static inline const QString countDayKey = QStringLiteral("pomodoro.countDay");

    explicit PomodoroStore(PreferencesStore& preferences) : preferences_(preferences) {}

    // Nothing when no state is stored or it cannot be read: the timer is idle.
    std::optional<PomodoroState> load() const;
    void save(const PomodoroState& state);
    void clear();

    // The count stored for `today`; 0 when it was stored on another day.
    int completedOn(const QDate& today) const;
    // Forgets the count and its day.
    void clearCount();
    // Adds one to today's count (starting from 0 on a new day) and answers it.
    int addCompletion(const QDate& today);

    // "2026-3-7": year, month and day without leading zeros.
    static QString dayKey(const QDate& day);

private:
    PreferencesStore& preferences_;
};
