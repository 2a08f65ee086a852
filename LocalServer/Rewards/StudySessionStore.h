#pragma once

#include <QString>
#include <optional>

struct ServerContext;

// Each user's timed study sessions: opened by start, closed once by end with the seconds studied.
class StudySessionStore {
public:
    struct Ended {
        enum class Status { ended, unknownSession, writeFailed };
        Status status = Status::ended;
        qint64 activeSeconds = 0;
        // The studied time in whole minutes, rounded half up.
        int durationMinutes = 0;
    };

    explicit StudySessionStore(ServerContext& context) : context_(context) {}

    // The new session's id, or empty when the write failed. `courseId` empty: none.
    QString start(const QString& userId, const QString& courseId, const QString& verificationMethod);
    // Ends the user's session with `activeSeconds` (absent: all of it) clamped to 0 … the time
    // since it started. A session already ended answers its first ending and changes nothing.
    Ended end(const QString& userId, const QString& sessionId, std::optional<qint64> activeSeconds,
              const QString& notes);
    // The minutes of all the user's ended sessions, rounded down.
    int studiedMinutes(const QString& userId);

private:
    ServerContext& context_;
};
