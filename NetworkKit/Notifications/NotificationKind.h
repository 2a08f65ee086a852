#pragma once

#include <array>
#include <utility>

// What a notification is about; `unknown` stands for any type outside the list.
enum class NotificationKind {
    exam,
    assignment,
    studyTask,
    sharedDocument,
    adaptiveQuiz,
    supplementaryAssignment,
    unknown
};

constexpr std::array<std::pair<NotificationKind, const char*>, 7> jsonRawValues(NotificationKind) {
    return {{{NotificationKind::exam, "exam"},
             {NotificationKind::assignment, "assignment"},
             {NotificationKind::studyTask, "study_task"},
             {NotificationKind::sharedDocument, "shared_document"},
             {NotificationKind::adaptiveQuiz, "adaptive_quiz"},
             {NotificationKind::supplementaryAssignment, "supplementary_assignment"},
             {NotificationKind::unknown, "unknown"}}};
}
