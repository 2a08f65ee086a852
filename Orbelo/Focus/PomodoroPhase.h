#pragma once

#include <QString>

#include <array>
#include <utility>

// The three kinds of interval of the focus timer.
enum class PomodoroPhase { work, shortBreak, longBreak };

constexpr std::array<std::pair<PomodoroPhase, const char*>, 3> jsonRawValues(PomodoroPhase) {
    return {{{PomodoroPhase::work, "work"},
             {PomodoroPhase::shortBreak, "shortBreak"},
             {PomodoroPhase::longBreak, "longBreak"}}};
}

inline QString label(PomodoroPhase phase) {
    switch (phase) {
    case PomodoroPhase::work:
        return QStringLiteral("Focus");
    case PomodoroPhase::shortBreak:
        return QStringLiteral("Short break");
    case PomodoroPhase::longBreak:
        return QStringLiteral("Long break");
    }
    return {};
}
