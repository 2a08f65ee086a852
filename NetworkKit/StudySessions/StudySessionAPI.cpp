#include "StudySessionAPI.h"

async::Task<StudySessionResponse> StudySessionAPI::start(const QString& userId,
                                                         const std::optional<QString>& courseId) const {
    return client_.post<StudySessionResponse>(QStringLiteral("/api/gamification/study/session/start"),
                                              StartStudySessionRequest{userId, courseId, builtInTimer});
}

async::Task<StudySessionResponse> StudySessionAPI::end(const EndStudySessionRequest& request) const {
    return client_.post<StudySessionResponse>(QStringLiteral("/api/gamification/study/session/end"), request);
}
