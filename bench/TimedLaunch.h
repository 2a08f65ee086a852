#pragma once

#include <QStringList>

#include <optional>

// One run of a program as a whole process: the wall time from spawning it to its exit, and its
// peak resident set size as the kernel reports it (wait4's ru_maxrss).
struct TimedLaunch {
    double milliseconds = 0;
    long peakRssKiB = 0;
    int exitStatus = -1; // the exit code, or -1 when it was killed or timed out

    // Runs `program` with `arguments` in `environment` ("NAME=value" entries), its output appended
    // to `logPath`; a run that takes longer than `timeoutSeconds` is killed. Nothing when it
    // cannot be started.
    static std::optional<TimedLaunch> run(const QString& program, const QStringList& arguments,
                                          const QStringList& environment, const QString& logPath,
                                          int timeoutSeconds = 60);
};
