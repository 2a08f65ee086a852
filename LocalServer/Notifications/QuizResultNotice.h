#pragma once

#include "Notifications/NotificationStore.h"

#include <optional>

// The notification of a completed quiz: its score and, when known, its course and topic. With a
// course it is an adaptive quiz of that course, so that tapping it sets up another one there.
struct QuizResultNotice {
    double percentage = 0;
    std::optional<int> correct; // with total, when the app sent the counts
    std::optional<int> total;
    QString difficulty;
    QString courseId; // empty: not in a course
    QString courseName;
    QString topic;     // empty: the whole course
    QString attemptId; // empty: each completion is a new result

    NotificationStore::Draft draft() const;
};
