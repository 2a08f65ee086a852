#pragma once

#include "Focus/PomodoroPhase.h"

#include <QByteArray>

// Interval lengths in minutes, and how many focus intervals earn a long break.
struct PomodoroConfig {
    int workMinutes = 25;
    int shortBreakMinutes = 5;
    int longBreakMinutes = 15;
    int pomodorosPerLongBreak = 4;

    // The lengths in use, with `focusMinutes` (ORBELO_FOCUS_MINUTES, which end-to-end runs set to
    // reach a break within a minute) as the focus length when it is a whole number.
    static PomodoroConfig withFocusMinutes(const QByteArray& focusMinutes);

    // A phase's minutes, kept within 1 … 1440 (a day).
    int minutes(PomodoroPhase phase) const;
    int seconds(PomodoroPhase phase) const { return minutes(phase) * 60; }
    // At least 1, so that counting modulo it is defined.
    int perLongBreak() const;
    // The phase after `ended`; `completedWork` counts the focus intervals done, the ended one included.
    PomodoroPhase next(PomodoroPhase ended, int completedWork) const;
};
