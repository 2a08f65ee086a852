#include "Gamification/UserLevelResponse.h"
#include "Gamification/UserRewardItem.h"
#include "Json.h"
#include "Quizzes/QuizCompleteResponse.h"
#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTest>
#include <QTimeZone>
#include <memory>

namespace {

const QByteArray cellNotes = R"(# Transport across the cell membrane

A membrane is a thin layer of lipids and proteins around a cell. Osmosis is the movement of water across a membrane toward more solute. Diffusion is the net spread of particles from crowded places to sparse ones. Active transport refers to the pumping of molecules against their gradient using energy from ATP.

A vacuole is a storage sac for water and nutrients in plant cells. Turgor pressure is the push of water against the cell wall of a plant. Cytoplasm is the jelly-like fluid that fills the inside of a cell.
)";

} // namespace

// What the rewards bought do, over HTTPS on the server's own clock: streak freezes kept through
// missed local days and spent once, Double XP for exactly a day, Premium Week lifting the daily
// limits for exactly a week, Study Lyrics written from a document, and the Scholar Badge in the
// level record.
class RewardEffectsTest : public QObject {
    Q_OBJECT

    static constexpr qint64 hourMs = 60LL * 60 * 1000;
    static constexpr qint64 dayMs = 24 * hourMs;
    const QString email = "effects@example.com";
    const QString password = "rewarding-effects-1";

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString token;

    TestServer::Reply control(const QString& path, const QJsonObject& body) {
        return server->send("POST", path, QJsonDocument(body).toJson(),
                            {{"Content-Type", "application/json"}});
    }
    // A token of a session valid at the server's time now; the account signs in again once its
    // session has run its seven days.
    void refreshToken() {
        TestServer::Reply reply = control("/__control/session-token", {{"email", email}});
        if (reply.status != 200) {
            TestServer::Device again;
            server->form("POST", "/v1/client/sign_ins", {{"identifier", email}, {"password", password}},
                         again);
            reply = control("/__control/session-token", {{"email", email}});
        }
        token = reply.json()["token"].toString();
    }

    void reachLevel(int xp, int credits) {
        QCOMPARE(control("/__control/xp", {{"email", email}, {"amount", xp}}).status, 200);
        QCOMPARE(control("/__control/credits", {{"email", email}, {"amount", credits}}).status, 200);
    }
    QString buy(const QString& rewardId) {
        const TestServer::Reply reply = server->api("POST", "/api/gamification/rewards/purchase", token,
                                                    {{"user_id", device.userId}, {"reward_id", rewardId}});
        if (reply.status != 200)
            qWarning() << reply.status << reply.body;
        return reply.json()["user_reward_id"].toString();
    }
    UserRewardItem owned(const QString& userRewardId) {
        for (const UserRewardItem& item : json::decode<QList<UserRewardItem>>(
                 server->api("GET", "/api/gamification/rewards/" + device.userId + "/purchased", token).body))
            if (item.userRewardId == userRewardId)
                return item;
        qFatal("reward %s not owned", qPrintable(userRewardId));
    }
    QJsonObject completionBody() {
        const QJsonObject quiz = server->issueQuiz(device, 5, 5, "easy");
        return {{"user_id", device.userId}, {"quiz_id", quiz["quiz_id"]}, {"answers", quiz["answers"]}};
    }
    // A perfect easy quiz of five: 100 XP before any multiplier, 30 credits.
    QuizCompleteResponse completeQuiz() {
        const TestServer::Reply reply =
            server->api("POST", "/api/gamification/quiz/complete", token, completionBody());
        if (reply.status != 200 || !reply.json().contains("xp_awarded"))
            qFatal("complete answered %d: %s", reply.status, reply.body.constData());
        return json::decode<QuizCompleteResponse>(reply.body);
    }
    int reportedStreak() {
        return server->api("GET", "/api/gamification/credits", token).json()["streak"].toInt();
    }
    // At `time` on `day` in Los Angeles, the account's time zone.
    void at(const QDate& day, const QTime& time) {
        server->setTime(QDateTime(day, time, QTimeZone("America/Los_Angeles")));
        refreshToken();
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->options().quizMsPerQuestion = 0;
        // Jobs wait a moment there, so that Premium Week can end between a request and its job.
        if (QTest::currentTestFunction() ==
            QByteArrayLiteral("narrationAskedForDuringPremiumWeekFinishesAfterIt"))
            server->setJobDelay(400);
        QVERIFY(server->start());
        server->setTime(QDateTime(QDate(2026, 3, 2), QTime(9, 0), QTimeZone("America/Los_Angeles")));
        device = server->signUp(email, password);
        refreshToken();
        QCOMPARE(
            server->api("PATCH", "/api/user/timezone", token, {{"timezone", "America/Los_Angeles"}}).status,
            200);
    }
    void cleanup() { server.reset(); }

    void aFreezeKeepsTheStreakThroughOneMissedLocalDay() {
        reachLevel(100, 100);
        const QString freeze = buy("streak_freeze");
        const QDate monday(2026, 3, 2);
        at(monday, QTime(23, 30)); // Tuesday in UTC already
        QCOMPARE(completeQuiz().multipliers->streak, 1.0);
        // Wednesday 00:30 local is the next UTC day, but Tuesday went by locally without a quiz.
        at(monday.addDays(2), QTime(0, 30));
        QCOMPARE(reportedStreak(), 1); // the freeze holds it
        completeQuiz();
        QCOMPARE(reportedStreak(), 2);
        const UserRewardItem spent = owned(freeze);
        QCOMPARE(spent.usageCount, 1);
        QCOMPARE(spent.isActive, false);
        QCOMPARE(spent.fulfillmentStatus, "fulfilled");
        QCOMPARE(spent.fulfillmentData->coveredDay, "2026-03-03");
        // Spent once: the next missed day ends the streak.
        at(monday.addDays(4), QTime(12, 0));
        QCOMPARE(reportedStreak(), 0);
        completeQuiz();
        QCOMPARE(reportedStreak(), 1);
    }

    void aSecondMissedDayBreaksTheStreakAndKeepsTheFreeze() {
        reachLevel(100, 100);
        const QString freeze = buy("streak_freeze");
        const QDate monday(2026, 3, 2);
        at(monday, QTime(10, 0));
        completeQuiz();
        at(monday.addDays(2), QTime(23, 59));
        QCOMPARE(reportedStreak(), 1);
        at(monday.addDays(3), QTime(0, 0)); // Tuesday and Wednesday missed
        QCOMPARE(reportedStreak(), 0);
        completeQuiz();
        QCOMPARE(reportedStreak(), 1);
        QCOMPARE(owned(freeze).usageCount, 0);
        QCOMPARE(owned(freeze).isActive, true);
    }

    void twoFreezesCoverTwoSeparateMisses() {
        reachLevel(100, 100);
        const QString first = buy("streak_freeze");
        const QString second = buy("streak_freeze");
        const QDate monday(2026, 3, 2);
        for (const int day : {0, 2, 4}) { // Tuesday and Thursday missed
            at(monday.addDays(day), QTime(10, 0));
            completeQuiz();
        }
        QCOMPARE(reportedStreak(), 3);
        QCOMPARE(owned(first).usageCount + owned(second).usageCount, 2);
    }

    void racingCompletionsSpendOneFreezeOnce() {
        reachLevel(100, 100);
        const QDate monday(2026, 3, 2);
        at(monday, QTime(10, 0));
        completeQuiz();
        at(monday.addDays(2), QTime(10, 0));
        // A purchase and three completions sent together: whichever order they are served in, the
        // freeze is spent at most once and only when it kept the streak.
        server->trustCertificate();
        QNetworkAccessManager network;
        const auto post = [&](const QString& path, const QJsonObject& body) {
            QNetworkRequest request(QUrl(server->url(path)));
            request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
            request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
            return network.post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
        };
        QList<QJsonObject> bodies{completionBody(), completionBody(), completionBody()};
        QList<QNetworkReply*> replies{post("/api/gamification/rewards/purchase",
                                           {{"user_id", device.userId}, {"reward_id", "streak_freeze"}})};
        for (const QJsonObject& body : bodies)
            replies.append(post("/api/gamification/quiz/complete", body));
        for (QNetworkReply* reply : std::as_const(replies)) {
            QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 30000);
            QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        }
        // Read before any reply goes: the waits above run the event loop that deletes them.
        const QString freeze =
            QJsonDocument::fromJson(replies[0]->readAll()).object()["user_reward_id"].toString();
        qDeleteAll(replies);
        const int used = owned(freeze).usageCount;
        QVERIFY(used <= 1);
        QCOMPARE(reportedStreak(), used == 1 ? 2 : 1);
    }

    void doubleXpLastsExactlyADayFromPurchase() {
        reachLevel(500, 120); // level 4
        const QString boost = buy("double_xp_day");
        const UserRewardItem bought = owned(boost);
        QCOMPARE(bought.isActive, true);
        QVERIFY(bought.expiresAt);
        server->advanceClock(dayMs - 1000);
        refreshToken();
        const QuizCompleteResponse doubled = completeQuiz();
        QCOMPARE(doubled.xpAwarded, 200);
        QCOMPARE(doubled.multipliers->xpBoost, 2.0);
        QCOMPARE(doubled.creditsAwarded->amount, 30); // credits are not doubled
        server->advanceClock(1000);
        refreshToken();
        const QuizCompleteResponse plain = completeQuiz();
        QCOMPARE(plain.xpAwarded, 100);
        QCOMPARE(plain.multipliers->xpBoost, 1.0);
        QCOMPARE(owned(boost).isActive, false);
    }

    void aSecondBoostFollowsTheFirst() {
        reachLevel(500, 240);
        const QString first = buy("double_xp_day");
        server->advanceClock(hourMs);
        refreshToken();
        const QString second = buy("double_xp_day");
        const QDateTime firstEnds = QDateTime::fromString(*owned(first).expiresAt, Qt::ISODateWithMs);
        QCOMPARE(QDateTime::fromString(*owned(second).expiresAt, Qt::ISODateWithMs), firstEnds.addDays(1));
        server->advanceClock(dayMs); // past the first, within the second
        refreshToken();
        QCOMPARE(completeQuiz().xpAwarded, 200);
    }

    void premiumWeekLiftsTheDailyQuizLimitForExactlySevenDays() {
        reachLevel(900, 1000); // level 5
        const QString courseId = server->addCourse(token, "BIOL 110");
        const QString documentId =
            server->uploadDocument(token, cellNotes, "notes.txt", "text/plain", courseId);
        QCOMPARE(server->waitForProcessing(documentId, token).value("status").toString(), "complete");
        const auto generate = [&] {
            return server->api("POST", "/api/courses/" + courseId + "/quiz/generate", token,
                               {{"question_type", "true_false"},
                                {"difficulty", "easy"},
                                {"num_questions", 3},
                                {"force_regenerate", true}});
        };
        for (int i = 0; i < 10; ++i)
            QCOMPARE(generate().status, 200);
        QCOMPARE(generate().status, 429);

        buy("premium_week");
        const TestServer::Reply eleventh = generate();
        QCOMPARE(eleventh.status, 200);
        QCOMPARE(eleventh.json()["daily_generations_used"].toInt(), 11);
        QCOMPARE(eleventh.json()["can_regenerate"].toBool(), true);
        QVERIFY(eleventh.json()["unlimited_until"].isString());

        // The last moment of the week still counts; its end does not.
        server->advanceClock(7 * dayMs - 1000);
        refreshToken();
        for (int i = 0; i < 10; ++i)
            QCOMPARE(generate().status, 200);
        QCOMPARE(generate().status, 200);
        server->advanceClock(1000);
        refreshToken();
        const TestServer::Reply ended = generate();
        QCOMPARE(ended.status, 429);
        const QJsonObject status =
            server
                ->api("GET", "/api/courses/" + courseId + "/quiz/cache-status?question_type=true_false",
                      token)
                .json();
        QCOMPARE(status["can_regenerate"].toBool(), false);
        QVERIFY(!status.contains("unlimited_until"));
    }

    void narrationAskedForDuringPremiumWeekFinishesAfterIt() {
        reachLevel(900, 1000);
        const QString documentId = server->uploadDocument(token, "Osmosis moves water across a membrane.",
                                                          "short.txt", "text/plain");
        QCOMPARE(server->waitForProcessing(documentId, token).value("status").toString(), "complete");
        // The account's audio at its limit, as a sparse file.
        QDir media(server->dataDir() + "/media/" + device.userId);
        QVERIFY(media.mkpath("."));
        QFile full(media.filePath("full.wav"));
        QVERIFY(full.open(QIODevice::WriteOnly) && full.resize(512LL * 1024 * 1024));
        full.close();
        const auto narrate = [&] {
            return server->api("POST", "/api/tts/document/" + documentId, token, {});
        };
        QCOMPARE(narrate().status, 507);

        buy("premium_week");
        server->advanceClock(7 * dayMs - 1000);
        refreshToken();
        const TestServer::Reply asked = narrate();
        QCOMPARE(asked.status, 200);
        server->advanceClock(1000); // the week ends before the job runs
        refreshToken();
        const QJsonObject job = server->waitForJob(asked.json()["job_id"].toString(), token);
        QCOMPARE(job["status"].toString(), "complete");
        // Asked for after the week, it is refused again.
        server->api("DELETE", "/api/documents/" + documentId, token);
        const QString other = server->uploadDocument(token, "Diffusion spreads particles out evenly.",
                                                     "other.txt", "text/plain");
        QCOMPARE(server->waitForProcessing(other, token).value("status").toString(), "complete");
        QCOMPARE(server->api("POST", "/api/tts/document/" + other, token, {}).status, 507);
    }

    void studyLyricsAreWrittenFromTheChosenDocumentOnce() {
        reachLevel(100, 200);
        const QString lyrics = buy("study_lyrics");
        const QString song = [&] {
            control("/__control/credits", {{"email", email}, {"amount", 150}});
            return buy("study_song");
        }();
        const auto use = [&](const QString& rewardId, const QString& documentId) {
            QJsonObject body{{"user_id", device.userId}, {"user_reward_id", rewardId}};
            if (!documentId.isEmpty())
                body.insert("document_id", documentId);
            return server->api("POST", "/api/gamification/rewards/use/lyrics-from-notes", token, body);
        };
        const TestServer::Reply none = use(lyrics, {});
        QCOMPARE(none.status, 422);
        QCOMPARE(none.json()["detail"].toString(),
                 "No processed documents to make lyrics from. Upload a document in the Library tab first.");
        QCOMPARE(use(song, {}).status, 422);
        QCOMPARE(use("urw_unknown", {}).status, 404);
        QCOMPARE(use(lyrics, "doc_unknown").status, 404);

        const QString documentId = server->uploadDocument(token, cellNotes, "cells.txt", "text/plain");
        QCOMPARE(server->waitForProcessing(documentId, token).value("status").toString(), "complete");
        const TestServer::Reply written = use(lyrics, documentId);
        QCOMPARE(written.status, 200);
        const QString text = written.json()["lyrics"].toString();
        QVERIFY(text.contains("[Chorus]"));
        QVERIFY2(text.contains("osmosis", Qt::CaseInsensitive), qPrintable(text));
        const UserRewardItem item = owned(lyrics);
        QCOMPARE(item.usageCount, 1);
        QCOMPARE(item.fulfillmentData->lyrics, text);
        QCOMPARE(item.fulfillmentData->documentId, documentId);
        const TestServer::Reply again = use(lyrics, documentId);
        QCOMPARE(again.status, 409);
        QCOMPARE(again.json()["detail"].toString(), "Study Lyrics has no uses left.");
    }

    void theLevelRecordSaysWhetherTheBadgeIsOwned() {
        reachLevel(500, 40);
        const auto level = [&] {
            return json::decode<UserLevelResponse>(
                server->api("GET", "/api/gamification/level/" + device.userId, token).body);
        };
        QCOMPARE(level().scholarBadge, false);
        buy("scholar_badge");
        QCOMPARE(level().scholarBadge, true);
        QCOMPARE(level().currentLevel, 4);
    }
};

QTEST_GUILESS_MAIN(RewardEffectsTest)
#include "RewardEffectsTest.moc"
