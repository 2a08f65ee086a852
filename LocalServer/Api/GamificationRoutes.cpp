#include "GamificationRoutes.h"

#include "DailyStreak.h"
#include "JsonNumbers.h"
#include "LibraryStore.h"
#include "NotificationHub.h"
#include "QuizResultNotice.h"
#include "RewardsStore.h"
#include "ServerContext.h"
#include "StudySessionStore.h"
#include "UserTimeZone.h"

#include <cmath>

namespace {

ServerResponse notYours() {
    return ServerResponse::apiError(403, "You can only see and earn rewards for your own account.");
}

// The ways of measuring study time that the server accepts; the app's own timer is the only one.
const QString builtInTimer = QStringLiteral("built_in_timer");
constexpr int maxNotesLength = 2000;

} // namespace

void GamificationRoutes::registerRoutes(Router& router) {
    auth_.add(router, "POST", "/api/gamification/quiz/complete",
              [this](const ServerRequest& r, const QString& u) { return completeQuiz(r, u); });
    auth_.add(router, "POST", "/api/gamification/study/session/start",
              [this](const ServerRequest& r, const QString& u) { return startStudySession(r, u); });
    auth_.add(router, "POST", "/api/gamification/study/session/end",
              [this](const ServerRequest& r, const QString& u) { return endStudySession(r, u); });
    auth_.add(router, "GET", "/api/gamification/credits",
              [this](const ServerRequest&, const QString& u) { return summary(u); });
    auth_.add(router, "GET", "/api/gamification/credits/{user_id}",
              [this](const ServerRequest& r, const QString& u) { return creditsBalance(r, u); });
    auth_.add(router, "GET", "/api/gamification/level/{user_id}",
              [this](const ServerRequest& r, const QString& u) { return level(r, u); });
}

ServerResponse GamificationRoutes::completeQuiz(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    if (body.value("user_id").toString() != userId)
        return notYours();
    const auto percentage = JsonNumbers::numberWithin(body.value("quiz_score"), 0, 100);
    if (!percentage)
        return ServerResponse::apiError(400, "quiz_score must be a number from 0 to 100.");
    RewardsRules::Quiz quiz;
    quiz.percentage = *percentage;
    quiz.difficulty = body.value("quiz_difficulty").toString();
    if (!RewardsRules::difficultyPercent(quiz.difficulty))
        return ServerResponse::apiError(400, "quiz_difficulty must be easy, medium or hard.");

    const bool hasTotal =
        !body.value("total_questions").isUndefined() && !body.value("total_questions").isNull();
    const bool hasCorrect =
        !body.value("questions_correct").isUndefined() && !body.value("questions_correct").isNull();
    const auto total = JsonNumbers::wholeNumber(body.value("total_questions"));
    const auto correct = JsonNumbers::wholeNumber(body.value("questions_correct"));
    if (hasTotal && (!total || *total < 1 || *total > RewardsRules::maxQuestions))
        return ServerResponse::apiError(400,
                                        QStringLiteral("total_questions must be a whole number from 1 to %1.")
                                            .arg(RewardsRules::maxQuestions));
    if (hasCorrect && (!total || !correct || *correct < 0 || *correct > *total))
        return ServerResponse::apiError(
            400, "questions_correct must be a whole number from 0 to total_questions.");
    // The app sends the percentage of the same counts; one that disagrees would buy bonuses and
    // a tier the answers did not earn.
    if (correct && std::abs(quiz.percentage - 100.0 * *correct / *total) > 0.5)
        return ServerResponse::apiError(
            400, "quiz_score must be questions_correct out of total_questions, in percent.");
    // Without the count, it follows from the score: of the total when given, else of ten questions.
    if (correct)
        quiz.correct = *correct;
    else
        quiz.correct = int(std::lround(quiz.percentage * (total ? *total : 10) / 100));

    const QString courseId = body.value("course_id").toString();
    std::optional<QVariantMap> course;
    if (!courseId.isEmpty() && !(course = LibraryStore(context_).course(courseId, userId)))
        return ServerResponse::apiError(404, "No such course.");

    const QString attemptId = body.value("attempt_id").toString();
    const auto award = RewardsStore(context_).completeQuiz(userId, attemptId, quiz, context_.nowMs(),
                                                           UserTimeZone::of(context_.db, userId).zone);
    if (!award)
        return ServerResponse::apiError(500, "The quiz could not be rewarded.");

    QuizResultNotice notice;
    notice.percentage = quiz.percentage;
    if (correct) {
        notice.correct = *correct;
        notice.total = *total;
    }
    notice.difficulty = quiz.difficulty;
    notice.courseId = courseId;
    notice.courseName = course ? course->value("name").toString() : QString();
    notice.attemptId = attemptId;
    // The app saves the attempt's score, with its topic, before completing it.
    if (!attemptId.isEmpty())
        if (const auto saved = context_.db.row(
                "SELECT topic FROM quiz_scores WHERE user_id = ? AND attempt_id = ?", {userId, attemptId}))
            notice.topic = saved->value("topic").toString();
    // A retried completion answers the same award and finds its notification already posted.
    context_.notifications->post(userId, notice.draft());
    return ServerResponse::json(*award);
}

ServerResponse GamificationRoutes::startStudySession(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    if (body.value("user_id").toString() != userId)
        return notYours();
    if (body.value("verification_method").toString() != builtInTimer)
        return ServerResponse::apiError(400, "verification_method must be built_in_timer.");
    const QJsonValue course = body.value("course_id");
    if (!course.isUndefined() && !course.isNull() && !course.isString())
        return ServerResponse::apiError(400, "course_id must be a course id.");
    const QString courseId = course.toString();
    if (!courseId.isEmpty() && !LibraryStore(context_).course(courseId, userId))
        return ServerResponse::apiError(404, "No such course.");
    const QString sessionId = StudySessionStore(context_).start(userId, courseId, builtInTimer);
    if (sessionId.isEmpty())
        return ServerResponse::apiError(500, "The study session could not be started.");
    return ServerResponse::json(QJsonObject{{"session_id", sessionId}});
}

ServerResponse GamificationRoutes::endStudySession(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    if (body.value("user_id").toString() != userId)
        return notYours();
    const QString sessionId = body.value("session_id").toString();
    if (sessionId.isEmpty())
        return ServerResponse::apiError(400, "session_id is required.");
    const QJsonValue active = body.value("active_seconds");
    std::optional<qint64> activeSeconds;
    if (!active.isUndefined() && !active.isNull()) {
        const auto seconds = JsonNumbers::wholeNumber(active);
        if (!seconds || *seconds < 0)
            return ServerResponse::apiError(400, "active_seconds must be a whole number of seconds.");
        activeSeconds = *seconds;
    }
    const QJsonValue notes = body.value("notes");
    if (!notes.isUndefined() && !notes.isNull() &&
        (!notes.isString() || notes.toString().size() > maxNotesLength))
        return ServerResponse::apiError(
            400, QStringLiteral("notes must be text of at most %1 characters.").arg(maxNotesLength));

    const StudySessionStore::Ended ended =
        StudySessionStore(context_).end(userId, sessionId, activeSeconds, notes.toString());
    switch (ended.status) {
    case StudySessionStore::Ended::Status::unknownSession:
        return ServerResponse::apiError(404, "No such study session.");
    case StudySessionStore::Ended::Status::writeFailed:
        return ServerResponse::apiError(500, "The study session could not be ended.");
    case StudySessionStore::Ended::Status::ended:
        break;
    }
    return ServerResponse::json(
        QJsonObject{{"session_id", sessionId}, {"duration_minutes", ended.durationMinutes}});
}

ServerResponse GamificationRoutes::summary(const QString& userId) {
    const QDate today = DailyStreak::localDay(context_.nowMs(), UserTimeZone::of(context_.db, userId).zone);
    QJsonObject answer = RewardsStore(context_).summary(userId, today);
    answer.insert("study_minutes", StudySessionStore(context_).studiedMinutes(userId));
    return ServerResponse::json(answer);
}

ServerResponse GamificationRoutes::creditsBalance(const ServerRequest& request, const QString& userId) {
    if (request.param(0) != userId)
        return notYours();
    return ServerResponse::json(RewardsStore(context_).creditsBalance(userId));
}

ServerResponse GamificationRoutes::level(const ServerRequest& request, const QString& userId) {
    if (request.param(0) != userId)
        return notYours();
    return ServerResponse::json(RewardsStore(context_).level(userId));
}
