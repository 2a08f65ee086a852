#include <QtTest>

#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "Tutor/TutorSessionModel.h"
#include "Tutor/TutorSessionPlan.h"
#include "VirtualClock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace std::chrono_literals;

namespace {

QByteArray compact(const QJsonValue& value) {
    return value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                           : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
}

QJsonObject card(const QString& id, const QString& course) {
    return {{"id", id}, {"front", "Front " + id}, {"back", "Back " + id}, {"course_id", course}};
}

// The server side of a session: the start, the material and the reviews, each set here.
struct Backend {
    ScriptedHttpServer server;
    ScriptedResponse started = ScriptedResponse::json(
        200, R"({"success":true,"session_id":"tut_1","user_reward_id":"urw_1","course_id":"c1",)"
             R"("course_name":"Cell Biology","duration_minutes":30,"remaining_uses":0})");
    ScriptedResponse plan = ScriptedResponse::json(
        200,
        compact(QJsonObject{
            {"plan_id", "p1"},
            {"templates",
             QJsonArray{QJsonObject{{"template_id", "t1"},
                                    {"chapter_title", "Cells"},
                                    {"comprehension_questions",
                                     QJsonArray{QJsonObject{{"question", "What does osmosis move?"},
                                                            {"expected_answer", "Water"}},
                                                QJsonObject{{"question", "  "}},
                                                QJsonObject{{"question", "Why do cells divide?"}}}}}}}}));
    ScriptedResponse due = ScriptedResponse::json(
        200,
        compact(QJsonObject{{"flashcards", QJsonArray{card("f1", "c1"), card("f2", "c2"), card("f3", "c1")}},
                            {"count", 3},
                            {"total", 3}}));
    ScriptedResponse quiz = ScriptedResponse::json(
        200,
        R"({"quiz_id":"q1","questions":[{"question":"Q1?","options":["A","B","C","D"],"correct_answer":0},)"
        R"({"question":"Q2?","options":["A","B","C","D"],"correct_answer":3}]})");

    Backend() {
        server.setHandler([this](const RecordedRequest& r) {
            if (r.path == "/api/gamification/rewards/use/tutor-session")
                return started;
            if (r.path == "/api/bootstrap")
                return ScriptedResponse::json(
                    200, R"({"courses":[{"course_id":"c1","course_name":"Cell Biology"}],"documents":[]})");
            if (r.path.startsWith("/api/guided-reading/"))
                return plan;
            if (r.path == "/api/study-content/flashcards/due")
                return due;
            if (r.path.endsWith("/quiz/generate"))
                return quiz;
            if (r.path.contains("/review"))
                return ScriptedResponse::json(200, R"({"success":true})");
            return ScriptedResponse::json(404, R"({"detail":"unscripted"})");
        });
    }

    QList<RecordedRequest> to(const QByteArray& part) const {
        QList<RecordedRequest> found;
        for (const RecordedRequest& r : server.requests())
            if (r.target.contains(part))
                found << r;
        return found;
    }
};

const TutorSessionModel::UserIdSource signedIn = [] { return std::optional<QString>(QStringLiteral("u1")); };

} // namespace

// The tutor session's flow against a scripted server, on a virtual clock.
class TutorSessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void remainingTimeText() {
        QCOMPARE(TutorSessionPlan::remainingText(-5), QStringLiteral("0:00"));
        QCOMPARE(TutorSessionPlan::remainingText(0), QStringLiteral("0:00"));
        QCOMPARE(TutorSessionPlan::remainingText(1), QStringLiteral("0:01"));
        QCOMPARE(TutorSessionPlan::remainingText(1000), QStringLiteral("0:01"));
        QCOMPARE(TutorSessionPlan::remainingText(1001), QStringLiteral("0:02"));
        QCOMPARE(TutorSessionPlan::remainingText(59'999), QStringLiteral("1:00"));
        QCOMPARE(TutorSessionPlan::remainingText(61'000), QStringLiteral("1:01"));
        QCOMPARE(TutorSessionPlan::remainingText(30 * 60'000), QStringLiteral("30:00"));
    }

    void materialIsPickedFromTheCourse() {
        GuidedReadingPlan plan;
        GuidedReadingTemplate empty, full;
        for (int i = 0; i < 7; ++i)
            full.comprehensionQuestions =
                full.comprehensionQuestions.value_or(QList<GRComprehensionQuestion>{})
                << GRComprehensionQuestion{QStringLiteral("Q%1").arg(i), {}, {}};
        plan.templates = QList<GuidedReadingTemplate>{empty, full};
        const auto questions = TutorSessionPlan::guideQuestions(plan);
        QCOMPARE(questions.size(), TutorSessionPlan::questionLimit);
        QCOMPARE(questions.first().question, QStringLiteral("Q0"));
        QVERIFY(TutorSessionPlan::guideQuestions(GuidedReadingPlan{}).isEmpty());

        QList<Flashcard> due;
        for (int i = 0; i < 14; ++i) {
            Flashcard flashcard;
            flashcard.id = QString::number(i);
            flashcard.courseId = i % 3 == 0 ? QStringLiteral("c2") : QStringLiteral("c1");
            due << flashcard;
        }
        const QList<Flashcard> cards = TutorSessionPlan::courseCards(due, "c1", 3);
        QCOMPARE(cards.size(), 3);
        QCOMPARE(cards[0].id, QStringLiteral("1"));
        QCOMPARE(cards[2].id, QStringLiteral("4"));
        QCOMPARE(TutorSessionPlan::courseCards(due, "c1").size(), 9);
        QCOMPARE(TutorSessionPlan::cardsLine({1, 0, 2, 1}),
                 QStringLiteral("Cards reviewed: 4 (Again 1, Hard 0, Good 2, Easy 1)"));
    }

    // Questions, then the course's cards rated, then the quiz, then the summary.
    void aWholeSession() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        TutorSessionModel session(scriptedClient(backend.server), signedIn);
        session.loadCourses();
        QTRY_COMPARE(session.courses().size(), 1);
        session.start("urw_1", "c1");
        QCOMPARE(session.phase(), TutorSessionModel::starting);
        QTRY_COMPARE(session.phase(), TutorSessionModel::questions);

        const QJsonObject sent =
            QJsonDocument::fromJson(backend.to("/use/tutor-session").first().body).object();
        QCOMPARE(sent, (QJsonObject{{"user_id", "u1"}, {"user_reward_id", "urw_1"}, {"course_id", "c1"}}));
        QCOMPARE(backend.to("/api/guided-reading/").first().target,
                 QByteArray("/api/guided-reading/c1/plan?template_type=quick_review"));
        const QJsonObject quiz = QJsonDocument::fromJson(backend.to("/quiz/generate").first().body).object();
        QCOMPARE(quiz.value("num_questions").toInt(), 5);
        QCOMPARE(quiz.value("question_type").toString(), QStringLiteral("multiple_choice"));
        QCOMPARE(session.courseName(), QStringLiteral("Cell Biology"));
        QCOMPARE(session.remainingText(), QStringLiteral("30:00"));

        QCOMPARE(session.stepText(), QStringLiteral("Step 1 of 3: Reading-guide questions"));
        QCOMPARE(session.positionText(), QStringLiteral("Question 1 of 2"));
        QCOMPARE(session.prompt(), QStringLiteral("What does osmosis move?"));
        QVERIFY(!session.answerShown());
        session.showAnswer();
        QCOMPARE(session.answer(), QStringLiteral("Water"));
        session.next();
        QCOMPARE(session.prompt(), QStringLiteral("Why do cells divide?"));
        QVERIFY(!session.answerShown());
        session.rate(2); // not a card step: ignored
        session.next();

        QCOMPARE(session.phase(), TutorSessionModel::cards);
        QCOMPARE(session.positionText(), QStringLiteral("Card 1 of 2"));
        QCOMPARE(session.prompt(), QStringLiteral("Front f1"));
        session.showAnswer();
        QCOMPARE(session.answer(), QStringLiteral("Back f1"));
        session.rate(4); // out of range: ignored
        QCOMPARE(session.prompt(), QStringLiteral("Front f1"));
        session.rate(2);
        QCOMPARE(session.prompt(), QStringLiteral("Front f3"));
        session.rate(0);
        QTRY_COMPARE(backend.to("/review").size(), 2);
        QVERIFY(backend.to("/review").first().target.contains("/flashcards/f1/review"));
        QCOMPARE(QJsonDocument::fromJson(backend.to("/review").last().body)["quality"].toInt(), 0);

        QCOMPARE(session.phase(), TutorSessionModel::quiz);
        QCOMPARE(session.stepText(), QStringLiteral("Step 3 of 3: Short quiz"));
        QCOMPARE(session.options(), QStringList({"A", "B", "C", "D"}));
        session.choose(4); // no such option
        QCOMPARE(session.positionText(), QStringLiteral("Question 1 of 2"));
        session.choose(0);
        clock.advance(10min);
        session.choose(1);

        QCOMPARE(session.phase(), TutorSessionModel::summary);
        QCOMPARE(session.summaryLines(), QStringList({"Session finished with 20:00 to spare.",
                                                      "Time spent: 10:00", "Questions answered: 2 of 2",
                                                      "Cards reviewed: 2 (Again 1, Hard 0, Good 1, Easy 0)",
                                                      "Quiz score: 1 of 2 correct"}));
        // The clock stops with the summary.
        clock.advance(5min);
        QCOMPARE(session.remainingText(), QStringLiteral("20:00"));
    }

    void theTimeRunsOutOnTheDot() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        TutorSessionModel session(scriptedClient(backend.server), signedIn);
        QSignalSpy ticks(&session, &TutorSessionModel::tick);
        session.start("urw_1", "c1");
        QTRY_COMPARE(session.phase(), TutorSessionModel::questions);
        clock.advance(1s);
        QCOMPARE(session.remainingText(), QStringLiteral("29:59"));
        QVERIFY(ticks.size() >= 1);
        clock.advance(30min - 1s - 1ms);
        QCOMPARE(session.phase(), TutorSessionModel::questions);
        QCOMPARE(session.remainingText(), QStringLiteral("0:01"));
        clock.advance(1ms);
        QCOMPARE(session.phase(), TutorSessionModel::summary);
        QCOMPARE(session.summaryLines().first(), QStringLiteral("Time's up: the 30 minutes are over."));
        QCOMPARE(session.summaryLines().at(1), QStringLiteral("Time spent: 30:00"));
        QCOMPARE(session.summaryLines().at(2), QStringLiteral("Questions answered: 0 of 2"));
    }

    void aRefusedStartStaysOnTheChoice() {
        Backend backend;
        backend.started =
            ScriptedResponse::json(409, R"({"detail":"This tutor session has already been started."})");
        TutorSessionModel session(scriptedClient(backend.server), signedIn);
        session.start("urw_1", "c1");
        QTRY_COMPARE(session.phase(), TutorSessionModel::choosing);
        QVERIFY(!session.busy());
        QVERIFY(session.errorMessage().startsWith("Couldn't start the tutor session: Request failed (409)."));
        QVERIFY(session.errorMessage().contains("This tutor session has already been started."));
        QVERIFY(backend.to("/guided-reading/").isEmpty());
        QVERIFY(backend.to("/quiz/generate").isEmpty());
    }

    void stepsWithoutMaterialAreSkipped() {
        Backend backend;
        backend.plan = ScriptedResponse::json(404, R"({"detail":"No guide"})");
        backend.due = ScriptedResponse::json(500, R"({"detail":"down"})");
        TutorSessionModel session(scriptedClient(backend.server), signedIn);
        session.start("urw_1", "c1");
        QTRY_COMPARE(session.phase(), TutorSessionModel::quiz);
        session.skipStep();
        QCOMPARE(session.phase(), TutorSessionModel::summary);
        QCOMPARE(session.summaryLines().at(2), QStringLiteral("Questions answered: 0 of 0"));
        QCOMPARE(session.summaryLines().at(4), QStringLiteral("Quiz score: 0 of 0 correct"));

        Backend bare;
        bare.plan = ScriptedResponse::json(404, R"({"detail":"No guide"})");
        bare.due = ScriptedResponse::json(200, R"({"flashcards":[],"count":0,"total":0})");
        bare.quiz = ScriptedResponse::json(422, R"({"detail":"Nothing to quiz"})");
        TutorSessionModel empty(scriptedClient(bare.server), signedIn);
        empty.start("urw_1", "c1");
        QTRY_COMPARE(empty.phase(), TutorSessionModel::summary);
    }

    void skipAndEndEarly() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        TutorSessionModel session(scriptedClient(backend.server), signedIn);
        session.start("urw_1", "c1");
        QTRY_COMPARE(session.phase(), TutorSessionModel::questions);
        session.skipStep();
        QCOMPARE(session.phase(), TutorSessionModel::cards);
        session.finish();
        QCOMPARE(session.phase(), TutorSessionModel::summary);
        QCOMPARE(session.summaryLines().first(), QStringLiteral("Session finished with 30:00 to spare."));
        session.reset();
        QCOMPARE(session.phase(), TutorSessionModel::choosing);
    }

    void nothingStartsWithoutAUserOrCourse() {
        Backend backend;
        TutorSessionModel signedOut(scriptedClient(backend.server), [] { return std::optional<QString>(); });
        signedOut.start("urw_1", "c1");
        TutorSessionModel noCourse(scriptedClient(backend.server), signedIn);
        noCourse.start("urw_1", "");
        QCOMPARE(signedOut.phase(), TutorSessionModel::choosing);
        QCOMPARE(noCourse.phase(), TutorSessionModel::choosing);
        QTest::qWait(20);
        QCOMPARE(backend.server.requestCount(), 0);
    }
};

QTEST_MAIN(TutorSessionTest)
#include "tst_TutorSession.moc"
