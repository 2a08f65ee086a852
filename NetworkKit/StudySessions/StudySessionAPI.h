#pragma once

#include "APIClient.h"
#include "EndStudySessionRequest.h"
#include "StartStudySessionRequest.h"
#include "StudySessionResponse.h"

// Timed study sessions, measured by the app's own timer.
class StudySessionAPI {
public:
    static inline const QString builtInTimer = QStringLiteral("built_in_timer");

    explicit StudySessionAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<StudySessionResponse> start(const QString& userId,
                                            const std::optional<QString>& courseId) const;
    async::Task<StudySessionResponse> end(const EndStudySessionRequest& request) const;

private:
    APIClient client_;
};
