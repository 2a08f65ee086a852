#include "Rewards/GamificationRoutes.h"

#include "Http/JsonNumbers.h"
#include "Library/LibraryStore.h"
#include "Notifications/NotificationHub.h"
#include "Notifications/QuizResultNotice.h"
#include "Quiz/QuizRoutes.h"
#include "Quiz/QuizScoreStore.h"
#include "Rewards/DailyStreak.h"
#include "Rewards/QuizAnswers.h"
#include "Rewards/RewardsStore.h"
#include "Rewards/StudySessionStore.h"
#include "ServerContext.h"
#include "Storage/UserTimeZone.h"

#include <QJsonArray>

namespace {

ServerResponse notYours() {
    return ServerResponse::apiError(403, "You can only see and earn rewards for your own account.");
}

ServerResponse alreadyRewarded() {
    return ServerResponse::apiError(
        409,
        "This quiz has already earned its rewards; a quiz earns once. Generate a new quiz to earn more.");
}

// The ways of measuring study time that the server accepts; the app's own timer is the only one.
const QString builtInTimer = QStringLiteral("built_in_timer");
constexpr int maxNotesLength = 2000;

} // namespace

ServerResponse GamificationRoutes::completeQuiz(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    if (body.value("user_id").toString() != userId)
        return notYours();
    const QString quizId = body.value("quiz_id").toString();
    if (quizId.isEmpty())
        return ServerResponse::apiError(400,
                                        "quiz_id is required: only a quiz generated for you earns rewards.");
    const auto quiz = QuizStore(context_).issued(quizId, userId);
    if (!quiz)
        return ServerResponse::apiError(404, "No such quiz.");
    const QString attemptId = body.value("attempt_id").toString();
    // The attempt that completed the quiz may retry and hears its award again; any other earns nothing.
    const bool retry = !quiz->completedAttempt.isEmpty();
    if (retry && quiz->completedAttempt != attemptId)
        return alreadyRewarded();

    const qsizetype count = quiz->questions.size();
    RewardsRules::Quiz graded;
    graded.difficulty = quiz->difficulty;
    if (!retry) {
        const QJsonArray answers = body.value("answers").toArray();
        QStringList given;
        for (const QJsonValue& answer : answers) {
            if (answer.isString())
                given.append(answer.toString());
        }
        // Not a list, or not all text, leaves fewer answers than questions.
        if (given.size() != count || answers.size() != count)
            return ServerResponse::apiError(
                400, QStringLiteral("answers must list the %1 answers of the quiz as text.").arg(count));
        graded.correct = QuizAnswers::correctCount(quiz->questionType, quiz->questions, given);
        graded.percentage = 100.0 * graded.correct / qMax<qsizetype>(count, 1);
        if (const auto refused = checkClaims(body, *quiz, graded.correct))
            return *refused;
        const qint64 tookMs = context_.nowMs() - quiz->servedAtMs;
        const qint64 leastMs = count * context_.options.quizMsPerQuestion;
        if (tookMs < leastMs)
            return ServerResponse::apiError(
                422, QStringLiteral("This quiz was finished too quickly to earn rewards: %1 questions take at"
                                    " least %2 seconds.")
                         .arg(count)
                         .arg(leastMs / 1000.0));
    }

    const auto completion = RewardsStore(context_).completeQuiz(
        userId, quizId, attemptId, graded, context_.nowMs(), UserTimeZone::of(context_.db, userId).zone);
    using Outcome = RewardsStore::Completion::Outcome;
    switch (completion.outcome) {
    case Outcome::awarded:
        break;
    case Outcome::completedBefore:
        return alreadyRewarded();
    case Outcome::tooMany:
        return ServerResponse::apiError(
            429, QStringLiteral("At most %1 quizzes an hour earn rewards. The next can in %2.")
                     .arg(RewardsRules::maxCompletionsPerHour)
                     .arg(QuizRoutes::formatCooldown(completion.retryInMs)));
    case Outcome::atMaximum:
        return ServerResponse::apiError(409, "Your XP or credits are at the most an account can hold.");
    case Outcome::failed:
        return ServerResponse::apiError(500, "The quiz could not be rewarded.");
    }
    if (!retry)
        postNotice(userId, *quiz, graded, attemptId);
    return ServerResponse::json(completion.award);
}

std::optional<ServerResponse> GamificationRoutes::checkClaims(const QJsonObject& body,
                                                              const QuizStore::Issued& quiz, int correct) {
    // The app's own counts, when sent, must agree with the quiz: they may not claim more than the
    // answers earn (the server's grading wins when they claim less), nor another length or difficulty.
    const qsizetype count = quiz.questions.size();
    const QJsonValue claimed = body.value("questions_correct");
    if (!claimed.isUndefined() && !claimed.isNull()) {
        const auto number = JsonNumbers::wholeNumber(claimed);
        if (!number || *number < 0 || *number > count)
            return ServerResponse::apiError(
                400, QStringLiteral("questions_correct must be a whole number from 0 to %1.").arg(count));
        if (*number > correct)
            return ServerResponse::apiError(
                400, QStringLiteral("questions_correct is %1, but the answers have %2 right.")
                         .arg(*number)
                         .arg(correct));
    }
    const QJsonValue total = body.value("total_questions");
    if (!total.isUndefined() && !total.isNull() && JsonNumbers::wholeNumber(total) != count)
        return ServerResponse::apiError(
            400, QStringLiteral("total_questions must be the quiz's %1 questions.").arg(count));
    const QJsonValue difficulty = body.value("quiz_difficulty");
    if (!difficulty.isUndefined() && !difficulty.isNull() && difficulty.toString() != quiz.difficulty)
        return ServerResponse::apiError(
            400, QStringLiteral("quiz_difficulty must be the quiz's difficulty, %1.").arg(quiz.difficulty));
    return std::nullopt;
}

void GamificationRoutes::postNotice(const QString& userId, const QuizStore::Issued& quiz,
                                    const RewardsRules::Quiz& graded, const QString& attemptId) {
    QuizResultNotice notice;
    notice.percentage = graded.percentage;
    notice.correct = graded.correct;
    notice.total = int(quiz.questions.size());
    notice.difficulty = quiz.difficulty;
    notice.courseId = quiz.courseId;
    if (const auto course = LibraryStore(context_).course(quiz.courseId, userId))
        notice.courseName = course->value("name").toString();
    notice.attemptId = attemptId;
    // The app saves the attempt's score, with its topic, before completing it.
    if (!attemptId.isEmpty())
        notice.topic = QuizScoreStore(context_).topicOf(userId, attemptId);
    context_.notifications->post(userId, notice.draft());
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
