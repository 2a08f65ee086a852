#include "Gamification/CreditsBalanceResponse.h"
#include "Gamification/GamificationSummaryResponse.h"
#include "Gamification/UserLevelResponse.h"
#include "Json.h"
#include "Quizzes/QuizCompleteRequest.h"
#include "Quizzes/QuizCompleteResponse.h"
#include "Quizzes/SaveQuizScoreRequest.h"
#include "Quizzes/SaveQuizScoreResponse.h"
#include "Rewards/RewardsRules.h"
#include "Rewards/RewardsStore.h"
#include "ServerContext.h"
#include "TestServer.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>
#include <QTimeZone>
#include <limits>
#include <memory>

// Quiz scores and what completed quizzes earn, over HTTPS with the app's own records on both
// sides of the wire. The server's clock starts on Saturday, March 7, 2026, 15:00 UTC; the student
// lives in New York, where the clocks go forward early on Sunday, March 8.
class RewardsFlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString token;
    QString courseId;

    // Moves the clock to a New York wall time; session tokens last a minute, so a fresh one is taken.
    void setLocalTime(const QDate& day, const QTime& time) {
        server->setTime(QDateTime(day, time, QTimeZone("America/New_York")));
        token = server->sessionToken(device);
    }

    template <class Record> static QJsonObject object(const Record& record) {
        return QJsonDocument::fromJson(json::encode(record)).object();
    }

    SaveQuizScoreRequest score(int correct, int total, const QString& attemptId) const {
        SaveQuizScoreRequest request;
        request.courseId = courseId;
        request.score = correct;
        request.totalQuestions = total;
        request.percentage = 100.0 * correct / total;
        request.questionType = QuizQuestionType::trueFalse;
        request.difficulty = QuizDifficulty::medium;
        request.quizDuration = 95;
        request.attemptId = attemptId;
        return request;
    }

    // A new quiz of `total` questions issued to the student and the app's completion of it with
    // the first `correct` answers right.
    QJsonObject completion(int correct, int total, const QString& difficulty, const QString& attemptId) {
        const QJsonObject quiz = server->issueQuiz(device, total, correct, difficulty, courseId);
        QuizCompleteRequest request;
        request.quizId = quiz.value("quiz_id").toString();
        request.answers = QList<QString>();
        for (const QJsonValue& answer : quiz.value("answers").toArray())
            request.answers->append(answer.toString());
        request.userId = device.userId;
        request.courseId = courseId;
        request.attemptId = attemptId;
        request.questionsCorrect = correct;
        request.totalQuestions = total;
        request.quizScore = 100.0 * correct / total;
        request.quizDifficulty = difficulty;
        return object(request);
    }

    TestServer::Reply complete(const QJsonObject& body) {
        return server->api("POST", "/api/gamification/quiz/complete", token, body);
    }

    QuizCompleteResponse completeQuiz(int correct, int total, const QString& difficulty,
                                      const QString& attemptId) {
        const TestServer::Reply reply = complete(completion(correct, total, difficulty, attemptId));
        if (reply.status != 200)
            qWarning() << reply.status << reply.body;
        return json::decode<QuizCompleteResponse>(reply.body);
    }

    static QStringList achievementIds(const QuizCompleteResponse& response) {
        QStringList ids;
        for (const AchievementEarned& earned :
             response.achievementsEarned.value_or(QList<AchievementEarned>()))
            ids.append(earned.achievementId);
        return ids;
    }

    GamificationSummaryResponse summary() {
        return json::decode<GamificationSummaryResponse>(
            server->api("GET", "/api/gamification/credits", token).body);
    }
    CreditsBalanceResponse balance() {
        return json::decode<CreditsBalanceResponse>(
            server->api("GET", "/api/gamification/credits/" + device.userId, token).body);
    }

    TestServer::Reply control(const QString& path, const QJsonObject& body) {
        return server->send("POST", path, QJsonDocument(body).toJson(),
                            {{"Content-Type", "application/json"}});
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->setTime(QDateTime(QDate(2026, 3, 7), QTime(15, 0), Qt::UTC));
        QVERIFY(server->start());
        device = server->signUp("quizzer@example.com", "all-the-answers-1");
        token = server->sessionToken(device);
        QCOMPARE(server->api("PATCH", "/api/user/timezone", token, {{"timezone", "America/New_York"}}).status,
                 200);
        courseId = server->addCourse(token, "CHEM 101");
        QVERIFY(!courseId.isEmpty());
    }
    void cleanup() { server.reset(); }

    void scoresAreCheckedAndStoredOncePerAttempt() {
        const TestServer::Reply first =
            server->api("POST", "/api/quiz-scores", token, object(score(8, 10, "a1")));
        QCOMPARE(first.status, 200);
        const auto saved = json::decode<SaveQuizScoreResponse>(first.body);
        QCOMPARE(saved.status, "success");
        QVERIFY(saved.scoreId && !saved.scoreId->isEmpty());
        QCOMPARE(saved.updatedProficiency, 80.0);
        // A retried save answers the first score and stores nothing more.
        const auto again = json::decode<SaveQuizScoreResponse>(
            server->api("POST", "/api/quiz-scores", token, object(score(3, 10, "a1"))).body);
        QCOMPARE(again.scoreId, saved.scoreId);
        QCOMPARE(again.updatedProficiency, 80.0);
        const auto next = json::decode<SaveQuizScoreResponse>(
            server->api("POST", "/api/quiz-scores", token, object(score(10, 10, "a2"))).body);
        QVERIFY(next.scoreId != saved.scoreId);
        QCOMPARE(next.updatedProficiency, 90.0);

        const QJsonObject valid = object(score(8, 10, "a3"));
        const auto with = [&](const QString& key, const QJsonValue& value) {
            QJsonObject body = valid;
            if (value.isUndefined())
                body.remove(key);
            else
                body.insert(key, value);
            return server->api("POST", "/api/quiz-scores", token, body).status;
        };
        QCOMPARE(with("score", 11), 400);
        QCOMPARE(with("score", -1), 400);
        QCOMPARE(with("score", 7.5), 400);
        QCOMPARE(with("score", "8"), 400);
        QCOMPARE(with("total_questions", QJsonValue::Undefined), 400);
        QCOMPARE(with("percentage", 100.5), 400);
        QCOMPARE(with("percentage", -0.1), 400);
        QCOMPARE(with("question_type", "essay"), 400);
        QCOMPARE(with("difficulty", "extreme"), 400);
        QCOMPARE(with("quiz_duration", -3), 400);
        QCOMPARE(with("course_id", QJsonValue::Undefined), 400);
        QCOMPARE(with("course_id", "course_nope"), 404);
        // Another student's course is no course of this one's.
        const TestServer::Device other = server->signUp("other@example.com", "all-the-answers-2");
        const QString otherToken = server->sessionToken(other);
        QCOMPARE(server->api("POST", "/api/quiz-scores", otherToken, valid).status, 404);
        QCOMPARE(with("quiz_duration", QJsonValue::Null), 200);
    }

    void aCompletedQuizEarnsOnceAndAddsUp() {
        const QJsonObject taken = completion(8, 10, "medium", "attempt-1");
        const QuizCompleteResponse first = json::decode<QuizCompleteResponse>(complete(taken).body);
        QCOMPARE(first.xpAwarded, 120);
        QCOMPARE(first.creditsAwarded->amount, 24);
        QCOMPARE(first.creditsAwarded->tier, "gold");
        QCOMPARE(first.creditsAwarded->pointValue, 20);
        QCOMPARE(first.multipliers->difficulty, 1.2);
        QCOMPARE(first.multipliers->streak, 1.0);
        QCOMPARE(achievementIds(first), QStringList{"first_quiz"});
        QCOMPARE(first.achievementsEarned->first().name, "First Quiz");

        // A retry answers the same award and earns nothing more.
        const TestServer::Reply retried = complete(taken);
        QCOMPARE(retried.status, 200);
        QCOMPARE(retried.json(), QJsonDocument::fromJson(json::encode(first)).object());
        // Taking the same quiz again earns nothing, and says so.
        QJsonObject retaken = taken;
        retaken.insert("attempt_id", "attempt-1-again");
        const TestServer::Reply again = complete(retaken);
        QCOMPARE(again.status, 409);
        QVERIFY(again.json().value("detail").toString().contains("a quiz earns once"));
        retaken.remove("attempt_id");
        QCOMPARE(complete(retaken).status, 409);
        QCOMPARE(balance().totalPoints, 24);
        const auto level = json::decode<UserLevelResponse>(
            server->api("GET", "/api/gamification/level/" + device.userId, token).body);
        QCOMPARE(level.currentLevel, 2);
        QCOMPARE(level.levelName, "Learner");
        QCOMPARE(level.currentXp, 20);
        QCOMPARE(level.totalXp, 120);
        QCOMPARE(level.xpToNextLevel, 130);

        // A second quiz the same day keeps the streak at 1; each achievement comes once. All of
        // the questions right is the most a quiz earns.
        const QuizCompleteResponse perfect = completeQuiz(10, 10, "hard", "attempt-2");
        QCOMPARE(perfect.xpAwarded, 225);
        QCOMPARE(perfect.creditsAwarded->amount, 45);
        QCOMPARE(perfect.creditsAwarded->tier, "platinum");
        QCOMPARE(achievementIds(perfect), (QStringList{"perfect_score", "hard_perfect"}));
        QCOMPARE(achievementIds(completeQuiz(10, 10, "hard", "attempt-3")), QStringList());

        const GamificationSummaryResponse total = summary();
        QCOMPARE(total.totalXp, 120 + 225 + 225);
        QCOMPARE(total.level, 4);
        QCOMPARE(total.currentLevelXp, 570 - 500);
        QCOMPARE(total.nextLevelXp, 400);
        QCOMPARE(total.streak, 1);
        QCOMPARE(total.credits, 24 + 45 + 45);
        const CreditsBalanceResponse credits = balance();
        QCOMPARE(credits.goldCredits, 1);
        QCOMPARE(credits.platinumCredits, 2);
        QCOMPARE(credits.bronzeCredits, 0);
        QCOMPARE(credits.silverCredits, 0);
        QCOMPARE(credits.lifetimeEarned, 114);
        QCOMPARE(credits.lifetimeSpent, 0);
    }

    void completionsAreCheckedAndOnlyForOneself() {
        const TestServer::Device other = server->signUp("other@example.com", "all-the-answers-2");
        QJsonObject theirs = completion(8, 10, "easy", "x");
        theirs.insert("user_id", other.userId);
        QCOMPARE(complete(theirs).status, 403);
        theirs.remove("user_id");
        QCOMPARE(complete(theirs).status, 403);
        QCOMPARE(server->api("GET", "/api/gamification/credits/" + other.userId, token).status, 403);
        QCOMPARE(server->api("GET", "/api/gamification/level/" + other.userId, token).status, 403);
        QCOMPARE(server->api("GET", "/api/gamification/credits", QString()).status, 401);

        const QJsonObject valid = completion(8, 10, "easy", "y");
        const auto with = [&](const QString& key, const QJsonValue& value) {
            QJsonObject body = valid;
            if (value.isUndefined())
                body.remove(key);
            else
                body.insert(key, value);
            return complete(body).status;
        };
        // Only a quiz the server issued to this student counts.
        QCOMPARE(with("quiz_id", QJsonValue::Undefined), 400);
        QCOMPARE(with("quiz_id", "quiz_nope"), 404);
        QCOMPARE(with("quiz_id", server->issueQuiz(other, 10, 10, "easy").value("quiz_id")), 404);
        // One text answer per question.
        const QJsonArray answers = valid.value("answers").toArray();
        QJsonArray shorter = answers;
        shorter.removeLast();
        QJsonArray longer = answers;
        longer.append("0");
        QJsonArray numbered = answers;
        numbered[0] = 0;
        QCOMPARE(with("answers", QJsonValue::Undefined), 400);
        QCOMPARE(with("answers", "0000000011"), 400);
        QCOMPARE(with("answers", shorter), 400);
        QCOMPARE(with("answers", longer), 400);
        QCOMPARE(with("answers", numbered), 400);
        // The counts may not claim more than the answers have right, nor another quiz.
        QCOMPARE(with("questions_correct", 9), 400);
        QCOMPARE(with("questions_correct", 11), 400);
        QCOMPARE(with("questions_correct", 7.5), 400);
        QCOMPARE(with("total_questions", 9), 400);
        QCOMPARE(with("total_questions", 11), 400);
        QCOMPARE(with("quiz_difficulty", "hard"), 400);
        // None of them earned anything.
        QCOMPARE(summary().totalXp, 0);
        QCOMPARE(balance().lifetimeEarned, 0);
        // Claiming less than the answers have right earns what they have: 8 of 10, 100 XP.
        QCOMPARE(with("questions_correct", 7), 200);
        QCOMPARE(summary().totalXp, 100);
    }

    // Completions that earn are counted over the last hour: the limit's own count passes, one more
    // waits until the oldest is an hour old, and a refused one leaves its quiz to be completed.
    void atMostSoManyCompletionsAnHourEarn() {
        for (int i = 0; i < RewardsRules::maxCompletionsPerHour; ++i)
            QCOMPARE(complete(completion(1, 1, "easy", QStringLiteral("r%1").arg(i))).status, 200);
        const QJsonObject late = completion(1, 1, "easy", "late");
        const TestServer::Reply refused = complete(late);
        QCOMPARE(refused.status, 429);
        QCOMPARE(refused.json().value("detail").toString(),
                 QStringLiteral("At most %1 quizzes an hour earn rewards. The next can in 1h.")
                     .arg(RewardsRules::maxCompletionsPerHour));
        server->advanceClock(RewardsRules::completionWindowMs - 1);
        token = server->sessionToken(device);
        QCOMPARE(complete(late).status, 429);
        server->advanceClock(1);
        token = server->sessionToken(device);
        QCOMPARE(complete(late).status, 200);
        QCOMPARE(summary().totalXp, 60 * (RewardsRules::maxCompletionsPerHour + 1));
    }

    // XP and credits are 64-bit: past 2^31 they read back exactly, up to 2^53, and an addition
    // that would pass 2^53 is refused whole rather than wrapped.
    void balancesAndXpReadBackExactlyAndNeverWrap() {
        RewardsStore store(server->server().context());
        const qint64 past32 = 3'000'000'000;
        const qint64 top = RewardsStore::maxTotal;
        QCOMPARE(top, qint64(1) << 53);
        QCOMPARE(store.grantCredits(device.userId, past32, "test"), past32);
        QCOMPARE(balance().totalPoints, past32);
        QCOMPARE(balance().lifetimeEarned, past32);
        QCOMPARE(summary().credits, past32);
        QCOMPARE(store.grantCredits(device.userId, top - past32, "test"), top);
        QCOMPARE(balance().totalPoints, top);
        QCOMPARE(store.grantCredits(device.userId, 1, "test"), std::nullopt);
        QCOMPARE(store.grantCredits(device.userId, std::numeric_limits<qint64>::max(), "test"), std::nullopt);
        QCOMPARE(store.grantCredits(device.userId, -top - 1, "test"), std::nullopt);
        QCOMPARE(store.grantCredits(device.userId, std::numeric_limits<qint64>::min(), "test"), std::nullopt);
        QCOMPARE(balance().totalPoints, top);
        // A quiz whose credits would pass the top earns nothing, and its quiz stays open.
        const QJsonObject full = completion(0, 1, "easy", "full");
        QCOMPARE(complete(full).status, 409);
        QCOMPARE(balance().totalPoints, top);
        QCOMPARE(store.grantCredits(device.userId, -top, "test"), 0);
        QCOMPARE(complete(full).status, 200);

        // One right answer of one, easy, is 60 XP: exactly to the top, then no further.
        QVERIFY(server->server().context().db.exec(
            "UPDATE rewards_progress SET total_xp = ? WHERE user_id = ?", {top - 60, device.userId}));
        QCOMPARE(summary().totalXp, top - 60);
        QCOMPARE(complete(completion(1, 1, "easy", "to-the-top")).status, 200);
        const auto level = json::decode<UserLevelResponse>(
            server->api("GET", "/api/gamification/level/" + device.userId, token).body);
        QCOMPARE(level.totalXp, top);
        QCOMPARE(level.currentLevel, 10);
        QCOMPARE(level.currentXp, top - 5000);
        QCOMPARE(complete(completion(1, 1, "easy", "past-the-top")).status, 409);
        QCOMPARE(summary().totalXp, top);
    }

    void streaksFollowTheStudentsLocalDays() {
        // Saturday 23:30, then Sunday 00:30 (the same UTC day): two days.
        setLocalTime(QDate(2026, 3, 7), QTime(23, 30));
        QCOMPARE(completeQuiz(5, 10, "easy", "sat").multipliers->streak, 1.0);
        setLocalTime(QDate(2026, 3, 8), QTime(0, 30));
        completeQuiz(5, 10, "easy", "sun-early");
        QCOMPARE(summary().streak, 2);
        // Sunday 23:30, after the clocks went forward (Monday in UTC): still Sunday, counted once.
        setLocalTime(QDate(2026, 3, 8), QTime(23, 30));
        completeQuiz(5, 10, "easy", "sun-late");
        QCOMPARE(summary().streak, 2);
        // Monday is the third day: the multiplier and the achievement follow.
        setLocalTime(QDate(2026, 3, 9), QTime(8, 0));
        const QuizCompleteResponse third = completeQuiz(5, 10, "easy", "mon");
        QCOMPARE(third.multipliers->streak, 1.1);
        QCOMPARE(third.xpAwarded, 55);
        QCOMPARE(achievementIds(third), QStringList{"streak_3"});
        // It stands through Tuesday and is gone at Wednesday's local midnight.
        setLocalTime(QDate(2026, 3, 10), QTime(23, 59));
        QCOMPARE(summary().streak, 3);
        setLocalTime(QDate(2026, 3, 11), QTime(0, 0));
        QCOMPARE(summary().streak, 0);
        // The gap starts it again.
        QCOMPARE(completeQuiz(5, 10, "easy", "wed").multipliers->streak, 1.0);
        QCOMPARE(summary().streak, 1);
    }

    void controlsGrantCreditsButNeverOverdraw() {
        QCOMPARE(control("/__control/credits", {{"email", "quizzer@example.com"}, {"amount", 100}})
                     .json()["balance"],
                 100);
        QCOMPARE(control("/__control/credits", {{"email", "quizzer@example.com"}, {"amount", -150}}).status,
                 409);
        QCOMPARE(control("/__control/credits", {{"email", "quizzer@example.com"}, {"amount", -40}})
                     .json()["balance"],
                 60);
        QCOMPARE(control("/__control/credits", {{"email", "quizzer@example.com"}, {"amount", 0}}).status,
                 400);
        QCOMPARE(control("/__control/credits", {{"email", "nobody@example.com"}, {"amount", 5}}).status, 400);
        const CreditsBalanceResponse credits = balance();
        QCOMPARE(credits.totalPoints, 60);
        QCOMPARE(credits.lifetimeEarned, 100);
        QCOMPARE(credits.lifetimeSpent, 40);
        QCOMPARE(
            credits.bronzeCredits + credits.silverCredits + credits.goldCredits + credits.platinumCredits, 0);
        // The ledger itself refuses an entry that overdraws, whoever writes it.
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("CHECK constraint failed|violates check constraint"));
        QVERIFY(!server->server().context().db.exec("INSERT INTO credit_ledger (user_id, amount, reason, "
                                                    "balance_after, created_at) VALUES (?, -61, 'x', -1, 0)",
                                                    {device.userId}));
        QCOMPARE(summary().credits, 60);
    }

    // A test acts as the student with a token of their signed-in session.
    void controlsLendTheSessionToATest() {
        const TestServer::Reply lent =
            control("/__control/session-token", {{"email", "quizzer@example.com"}});
        QCOMPARE(lent.status, 200);
        QCOMPARE(lent.json()["user_id"].toString(), device.userId);
        const QString borrowed = lent.json()["token"].toString();
        QCOMPARE(server->api("GET", "/api/gamification/credits/" + device.userId, borrowed).status, 200);
        QCOMPARE(control("/__control/session-token", {{"email", "nobody@example.com"}}).status, 400);
    }
};

QTEST_MAIN(RewardsFlowTest)
#include "RewardsFlowTest.moc"
