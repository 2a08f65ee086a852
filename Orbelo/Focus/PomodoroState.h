#pragma once

#include "Focus/PomodoroPhase.h"

#include <QByteArray>
#include <QDateTime>

#include <optional>

// The focus timer's stored state: a running interval is kept as its end time, a paused one as the
// seconds it had left, so the timer runs on while the app is closed.
struct PomodoroState {
    PomodoroPhase phase = PomodoroPhase::work;
    std::optional<QDateTime> endsAt;       // running
    std::optional<double> pausedRemaining; // paused, in seconds
    int completedWorkIntervals = 0;        // since "Start focus"
    std::optional<QString> studySessionId; // the backend's session for this focus stretch

    bool isRunning() const { return endsAt.has_value(); }

    // JSON with the keys phase, endsAt (ISO 8601), pausedRemaining, completedWorkIntervals and
    // studySessionId; absent values are left out.
    QByteArray toJson() const;
    // Nothing when the data is not such an object (a stored state that cannot be read is no state).
    static std::optional<PomodoroState> fromJson(const QByteArray& data);

    bool operator==(const PomodoroState&) const = default;
};
