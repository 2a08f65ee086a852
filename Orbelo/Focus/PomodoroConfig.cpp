#include "Focus/PomodoroConfig.h"

#include <algorithm>

PomodoroConfig PomodoroConfig::withFocusMinutes(const QByteArray& focusMinutes) {
    PomodoroConfig config;
    bool ok = false;
    const int minutes = focusMinutes.trimmed().toInt(&ok);
    if (ok)
        config.workMinutes = minutes;
    return config;
}

int PomodoroConfig::minutes(PomodoroPhase phase) const {
    const int value = phase == PomodoroPhase::work         ? workMinutes
                      : phase == PomodoroPhase::shortBreak ? shortBreakMinutes
                                                           : longBreakMinutes;
    return std::clamp(value, 1, 1440);
}

int PomodoroConfig::perLongBreak() const {
    return std::max(pomodorosPerLongBreak, 1);
}

PomodoroPhase PomodoroConfig::next(PomodoroPhase ended, int completedWork) const {
    if (ended != PomodoroPhase::work)
        return PomodoroPhase::work;
    return completedWork % perLongBreak() == 0 ? PomodoroPhase::longBreak : PomodoroPhase::shortBreak;
}
