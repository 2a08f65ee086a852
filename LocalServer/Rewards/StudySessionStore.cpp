#include "Rewards/StudySessionStore.h"

#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <algorithm>

QString StudySessionStore::start(const QString& userId, const QString& courseId,
                                 const QString& verificationMethod) {
    const QString id = RandomId::make("study");
    const QVariant none(QMetaType(QMetaType::QString));
    const bool stored = context_.db.exec(
        "INSERT INTO study_sessions (id, user_id, course_id, verification_method, started_at)"
        " VALUES (?, ?, ?, ?, ?)",
        {id, userId, courseId.isEmpty() ? none : courseId, verificationMethod, context_.nowMs()});
    return stored ? id : QString();
}

StudySessionStore::Ended StudySessionStore::end(const QString& userId, const QString& sessionId,
                                                std::optional<qint64> activeSeconds, const QString& notes) {
    Database& db = context_.db;
    const auto session =
        db.row("SELECT started_at FROM study_sessions WHERE id = ? AND user_id = ?", {sessionId, userId});
    if (!session)
        return {Ended::Status::unknownSession};
    const qint64 nowMs = context_.nowMs();
    const qint64 elapsed = std::max<qint64>(0, (nowMs - session->value("started_at").toLongLong()) / 1000);
    const qint64 seconds = std::clamp<qint64>(activeSeconds.value_or(elapsed), 0, elapsed);
    // Only an open session is ended: of two ends racing, the first one's seconds stand.
    const QVariant none(QMetaType(QMetaType::QString));
    db.exec("UPDATE study_sessions SET ended_at = ?, active_seconds = ?, notes = ?"
            " WHERE id = ? AND user_id = ? AND ended_at IS NULL",
            {nowMs, seconds, notes.isEmpty() ? none : notes, sessionId, userId});
    const auto ended = db.row(
        "SELECT active_seconds FROM study_sessions WHERE id = ? AND ended_at IS NOT NULL", {sessionId});
    if (!ended)
        return {Ended::Status::writeFailed};
    const qint64 stored = ended->value("active_seconds").toLongLong();
    return {Ended::Status::ended, stored, int((stored + 30) / 60)};
}

int StudySessionStore::studiedMinutes(const QString& userId) {
    const auto total = context_.db.row(
        "SELECT COALESCE(SUM(active_seconds), 0) AS seconds FROM study_sessions WHERE user_id = ?"
        " AND ended_at IS NOT NULL",
        {userId});
    return total ? int(total->value("seconds").toLongLong() / 60) : 0;
}
