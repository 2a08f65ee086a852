#include "Flashcards/SpacedRepetition.h"
#include "TestServer.h"

#include <QJsonArray>
#include <QTest>
#include <memory>

// SM-2 scheduling, and the cards of a course's vocabulary reviewed and listed as due over HTTPS.
// The server's clock starts on Saturday, March 7, 2026, 15:00 UTC; the student lives in New York,
// where the clocks go forward early on Sunday, March 8.
class FlashcardReviewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString token;

    // Moves the clock; session tokens last a minute, so a fresh one is taken.
    void setTime(const QDate& day, const QTime& time) {
        server->setTime(QDateTime(day, time, Qt::UTC));
        token = server->sessionToken(device);
    }

    QStringList dueIds(const QString& query = {}) {
        QStringList ids;
        const QJsonObject due = server->api("GET", "/api/study-content/flashcards/due" + query, token).json();
        for (const QJsonValue& card : due.value("flashcards").toArray())
            ids.append(card.toObject().value("id").toString());
        return ids;
    }

    QJsonObject review(const QString& id, int rating, const QString& bearer = {}) {
        const TestServer::Reply reply = server->api("POST", "/api/study-content/flashcards/" + id + "/review",
                                                    bearer.isEmpty() ? token : bearer, {{"quality", rating}});
        return reply.status == 200 ? reply.json().value("flashcard").toObject()
                                   : QJsonObject{{"status", reply.status}};
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->setTime(QDateTime(QDate(2026, 3, 7), QTime(15, 0), Qt::UTC));
        QVERIFY(server->start());
        device = server->signUp("reviewer@example.com", "spaced-out-1");
        token = server->sessionToken(device);
        QCOMPARE(server->api("PATCH", "/api/user/timezone", token, {{"timezone", "America/New_York"}}).status,
                 200);
        const QString courseId = server->addCourse(token, "BIOL 110");
        const QString documentId =
            server->uploadDocument(token,
                                   "Osmosis is the movement of water across a membrane.\n\n"
                                   "Diffusion is the spreading of particles from crowded places.\n\n"
                                   "Mitosis is the division of a nucleus into two nuclei.\n",
                                   "terms.txt", "text/plain", courseId);
        QCOMPARE(server->waitForProcessing(documentId, token).value("status").toString(), "complete");
        const QString job = server->api("POST", "/api/courses/" + courseId + "/vocabulary/generate", token)
                                .json()["job_id"]
                                .toString();
        QCOMPARE(server->waitForJob(job, token).value("status").toString(), "complete");
    }
    void cleanup() { server.reset(); }

    void sm2FollowsTheWorkedExamples() {
        // Good every time: EF stays 2.5; intervals 1, 6, then 6 × 2.5 = 15.
        SpacedRepetition card;
        card = card.reviewed(4);
        QCOMPARE(card.intervalDays, 1);
        card = card.reviewed(4);
        QCOMPARE(card.intervalDays, 6);
        card = card.reviewed(4);
        QCOMPARE(card.intervalDays, 15);
        QCOMPARE(card.repetitions, 3);
        QCOMPARE(card.easeFactor, 2.5);

        // Hard every time: EF 2.36, 2.22, 2.08; the third interval uses the EF before it: 6 × 2.22.
        SpacedRepetition hard;
        for (int i = 0; i < 3; ++i)
            hard = hard.reviewed(3);
        QCOMPARE(hard.easeFactor, 2.08);
        QCOMPARE(hard.intervalDays, 13);

        // Easy: 2.6, 2.7, 2.8 and 6 × 2.7 = 16.2 → 16.
        SpacedRepetition easy;
        for (int i = 0; i < 3; ++i)
            easy = easy.reviewed(5);
        QCOMPARE(easy.easeFactor, 2.8);
        QCOMPARE(easy.intervalDays, 16);

        // A lapse starts the card over without touching its ease; the next pass is 1 day again.
        const SpacedRepetition lapsed = easy.reviewed(1);
        QCOMPARE(lapsed.repetitions, 0);
        QCOMPARE(lapsed.intervalDays, 1);
        QCOMPARE(lapsed.easeFactor, 2.8);
        QCOMPARE(lapsed.reviewed(4).intervalDays, 1);

        // The ease never drops below 1.3.
        for (int i = 0; i < 12; ++i)
            hard = hard.reviewed(3);
        QCOMPARE(hard.easeFactor, SpacedRepetition::minimumEase);
    }

    // A card falls due at the start of a local day: a minute either side of local midnight, east
    // and west of UTC, and over Los Angeles' clock change (8 March) where a day lasts 23 hours.
    void cardsFallDueAtLocalMidnight() {
        const QTimeZone auckland("Pacific/Auckland"), losAngeles("America/Los_Angeles");
        const struct {
            QDateTime reviewedAt;
            int intervalDays;
            const char* dueUtc;
        } reviews[] = {
            {QDateTime(QDate(2026, 3, 7), QTime(23, 59), auckland), 1, "2026-03-07T11:00:00Z"},
            {QDateTime(QDate(2026, 3, 8), QTime(0, 0), auckland), 1, "2026-03-08T11:00:00Z"},
            {QDateTime(QDate(2026, 3, 7), QTime(23, 59), losAngeles), 1, "2026-03-08T08:00:00Z"},
            {QDateTime(QDate(2026, 3, 8), QTime(0, 0), losAngeles), 1, "2026-03-09T07:00:00Z"},
            {QDateTime(QDate(2026, 3, 7), QTime(12, 0), losAngeles), 6, "2026-03-13T07:00:00Z"},
        };
        for (const auto& [reviewedAt, intervalDays, dueUtc] : reviews)
            QCOMPARE(SpacedRepetition::dueAt(reviewedAt.toUTC(), intervalDays, reviewedAt.timeZone())
                         .toUTC()
                         .toString(Qt::ISODate),
                     dueUtc);
    }

    void theAppsRatingsMapOntoQualities() {
        // Each rating on its own card: Again is a lapse, Hard, Good and Easy are qualities 3, 4, 5.
        const QJsonObject again = review("vocab_osmosis", 0);
        QCOMPARE(again.value("repetitions").toInt(), 0);
        QCOMPARE(again.value("interval_days").toInt(), 1);
        QCOMPARE(again.value("ease_factor").toDouble(), 2.5);
        QCOMPARE(review("vocab_diffusion", 1).value("ease_factor").toDouble(), 2.36);
        QCOMPARE(review("vocab_mitosis", 2).value("ease_factor").toDouble(), 2.5);
        QCOMPARE(review("vocab_mitosis", 3).value("ease_factor").toDouble(), 2.6);
        QCOMPARE(review("vocab_mitosis", 4).value("status").toInt(), 422);
        QCOMPARE(review("vocab_mitosis", -1).value("status").toInt(), 422);
    }

    void reviewsFallDueAtLocalMidnight() {
        const QJsonObject first = review("vocab_osmosis", 2);
        QCOMPARE(first.value("interval_days").toInt(), 1);
        QCOMPARE(first.value("last_reviewed_at").toString(), "2026-03-07T15:00:00.000Z");
        // Midnight in New York, still on standard time (UTC−5).
        QCOMPARE(first.value("next_review_at").toString(), "2026-03-08T05:00:00.000Z");
        QVERIFY(!dueIds().contains("vocab_osmosis"));

        setTime(QDate(2026, 3, 8), QTime(4, 59));
        QVERIFY(!dueIds().contains("vocab_osmosis"));
        setTime(QDate(2026, 3, 8), QTime(5, 0));
        QVERIFY(dueIds().contains("vocab_osmosis"));

        // Six days on, past the change to daylight time: midnight is 04:00 UTC.
        setTime(QDate(2026, 3, 8), QTime(15, 0));
        const QJsonObject second = review("vocab_osmosis", 2);
        QCOMPARE(second.value("interval_days").toInt(), 6);
        QCOMPARE(second.value("repetitions").toInt(), 2);
        QCOMPARE(second.value("next_review_at").toString(), "2026-03-14T04:00:00.000Z");
    }

    void dueCardsComeLongestDueFirstUpToTheLimit() {
        // New cards count as due from their creation, in the order they were made.
        QCOMPARE(dueIds(), QStringList({"vocab_diffusion", "vocab_mitosis", "vocab_osmosis"}));
        review("vocab_diffusion", 2);
        QCOMPARE(dueIds(), QStringList({"vocab_mitosis", "vocab_osmosis"}));
        const QJsonObject page =
            server->api("GET", "/api/study-content/flashcards/due?limit=1", token).json();
        QCOMPARE(page.value("count").toInt(), 1);
        QCOMPARE(page.value("total").toInt(), 2);
        QCOMPARE(server->api("GET", "/api/study-content/flashcards/due?limit=0", token).status, 422);
        QCOMPARE(server->api("GET", "/api/study-content/flashcards/due?limit=ten", token).status, 422);

        // A lapsed card is due the next local day, after the cards still waiting since their creation.
        review("vocab_mitosis", 0);
        setTime(QDate(2026, 3, 9), QTime(12, 0));
        QCOMPARE(dueIds(), QStringList({"vocab_osmosis", "vocab_diffusion", "vocab_mitosis"}));
        // Vocabulary cards are studied from the course's vocabulary, not the plain list.
        QCOMPARE(server->api("GET", "/api/study-content/flashcards", token).json().value("count").toInt(), 0);
    }

    void onlyTheUsersOwnCardsAreReviewed() {
        QCOMPARE(review("vocab_photosynthesis", 2).value("status").toInt(), 404);
        const QString other = server->sessionToken(server->signUp("other@example.com", "spaced-out-2"));
        QCOMPARE(review("vocab_osmosis", 2, other).value("status").toInt(), 404);
        QVERIFY(server->api("GET", "/api/study-content/flashcards/due", other)
                    .json()["flashcards"]
                    .toArray()
                    .isEmpty());
        QCOMPARE(server->api("GET", "/api/study-content/flashcards/due", QString()).status, 401);
    }
};

QTEST_MAIN(FlashcardReviewTest)
#include "FlashcardReviewTest.moc"
