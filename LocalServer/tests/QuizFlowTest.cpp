#include "GenerationJobStatusResponse.h"
#include "InlineOrEnqueued.h"
#include "Json.h"
#include "Quiz/QuizRoutes.h"
#include "Quizzes/GenerateQuizResponse.h"
#include "Quizzes/QuizCacheStatusResponse.h"
#include "Quizzes/QuizCompleteRequest.h"
#include "Quizzes/QuizCompleteResponse.h"
#include "ServerOptions.h"
#include "TestServer.h"

#include <QJsonDocument>
#include <QTest>
#include <QTimeZone>
#include <memory>

namespace {

const QByteArray cellNotes = R"(# Transport across the cell membrane

A membrane is a thin layer of lipids and proteins around a cell. Osmosis is the movement of water across a membrane toward more solute. Diffusion is the net spread of particles from crowded places to sparse ones. Active transport refers to the pumping of molecules against their gradient using energy from ATP.

A vacuole is a storage sac for water and nutrients in plant cells. Turgor pressure is the push of water against the cell wall of a plant. Cytoplasm is the jelly-like fluid that fills the inside of a cell.
)";

// Notes too long to quiz inline: the definitions above, then pages of lab-report prose.
QByteArray longNotes() {
    QByteArray text = cellNotes + "\n";
    while (text.size() <= QuizRoutes::inlineTextLimit)
        text +=
            "\nThe samples were weighed again after an hour in the bath and the results were written in the "
            "lab book, which the group then compared with the previous week's table of readings.\n";
    return text;
}

QJsonObject quizRequest(const QString& type, const QString& difficulty, int count, bool force = false,
                        const QString& topic = {}) {
    QJsonObject body{{"question_type", type},
                     {"difficulty", difficulty},
                     {"num_questions", count},
                     {"force_regenerate", force}};
    if (!topic.isEmpty())
        body.insert("topic", topic);
    return body;
}

} // namespace

// Practice tests over HTTPS: the client's records decode what the server answers, a cached quiz
// costs nothing, new ones spend a daily quota that returns at the user's local midnight, and
// courses with long notes are quizzed by a queued job.
class QuizFlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString token;

    void addNotes(const QString& courseId, const QByteArray& text) {
        const QString documentId = server->uploadDocument(token, text, "notes.txt", "text/plain", courseId);
        QCOMPARE(server->waitForProcessing(documentId, token).value("status").toString(), "complete");
    }

    TestServer::Reply generate(const QString& courseId, const QJsonObject& body) {
        return server->api("POST", "/api/courses/" + courseId + "/quiz/generate", token, body);
    }

    QuizCacheStatusResponse status(const QString& courseId, const QString& type) {
        const TestServer::Reply reply = server->api(
            "GET", "/api/courses/" + courseId + "/quiz/cache-status?question_type=" + type, token);
        if (reply.status != 200)
            qFatal("cache-status answered %d", reply.status);
        return json::decode<QuizCacheStatusResponse>(reply.body);
    }

    // The inline quiz of a 200 answer, decoded as the app decodes it.
    static GenerateQuizResponse inlineQuiz(const TestServer::Reply& reply) {
        if (reply.status != 200)
            qFatal("generate answered %d: %s", reply.status, reply.body.constData());
        const auto answer = json::decode<InlineOrEnqueued<GenerateQuizResponse>>(reply.body);
        if (!answer.payload())
            qFatal("generate answered a job");
        return *answer.payload();
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        device = server->signUp("quizzer@example.com", "practice-test-1");
        token = server->sessionToken(device);
    }
    void cleanup() { server.reset(); }

    void aCachedQuizIsFreeAndARegeneratedOneIsNot() {
        const QString courseId = server->addCourse(token, "BIOL 110");
        addNotes(courseId, cellNotes);
        QuizCacheStatusResponse before = status(courseId, "multiple_choice");
        QVERIFY(!before.hasCachedQuiz && before.canRegenerate);
        QCOMPARE(before.dailyGenerationsRemaining, QuizRoutes::maxDailyGenerations);
        QVERIFY(!before.cooldownRemainingFormatted);

        const GenerateQuizResponse first =
            inlineQuiz(generate(courseId, quizRequest("multiple_choice", "hard", 5)));
        QCOMPARE(first.questions.size(), 5);
        QCOMPARE(first.totalQuestions, 5);
        QCOMPARE(first.fromCache, false);
        QCOMPARE(first.dailyGenerationsUsed, 1);
        QCOMPARE(first.title, "BIOL 110 practice test");
        for (const QuizQuestion& question : first.questions) {
            QCOMPARE(question.options.size(), 4);
            QVERIFY(question.correctAnswerIndex && *question.correctAnswerIndex < 4);
            QVERIFY(question.explanation && question.explanation->startsWith(
                                                "From notes, under “Transport across the cell membrane”: “"));
        }

        // The same request again: the same questions, from the cache, nothing spent.
        const TestServer::Reply again = generate(courseId, quizRequest("multiple_choice", "hard", 5));
        const GenerateQuizResponse cached = inlineQuiz(again);
        QCOMPARE(cached.fromCache, true);
        QCOMPARE(cached.attemptCount, 1);
        QCOMPARE(cached.dailyGenerationsUsed, 1);
        QCOMPARE(again.json().value("questions"),
                 generate(courseId, quizRequest("multiple_choice", "hard", 5)).json().value("questions"));
        QVERIFY(status(courseId, "multiple_choice").hasCachedQuiz);
        QVERIFY(!status(courseId, "true_false").hasCachedQuiz);

        // Another length is another quiz; forcing one makes a new quiz and spends a generation.
        QCOMPARE(inlineQuiz(generate(courseId, quizRequest("multiple_choice", "hard", 4))).fromCache, false);
        const GenerateQuizResponse forced =
            inlineQuiz(generate(courseId, quizRequest("multiple_choice", "hard", 5, true)));
        QCOMPARE(forced.fromCache, false);
        QCOMPARE(forced.attemptCount, 2);
        QCOMPARE(forced.dailyGenerationsUsed, 3);
        QCOMPARE(status(courseId, "multiple_choice").dailyGenerationsRemaining,
                 QuizRoutes::maxDailyGenerations - 3);

        // Fill-in questions carry their accepted texts; a topic keeps the paragraphs about it. Those
        // give fewer questions than asked, and the quiz says why.
        const GenerateQuizResponse fillIn =
            inlineQuiz(generate(courseId, quizRequest("fill_in_blank", "easy", 20, false, "plants")));
        const QString plants = QString::fromUtf8(cellNotes).section("\n\n", 2).toLower();
        QSet<QString> terms;
        for (const QuizQuestion& question : fillIn.questions) {
            QVERIFY(question.question.contains("_____"));
            QVERIFY(!question.correctAnswerIndex);
            const QString term = question.correctAnswerStrings.value(0).toLower();
            QVERIFY2(plants.contains(term), qPrintable(term));
            terms.insert(term);
        }
        QVERIFY(terms.contains("cytoplasm") && terms.contains("turgor pressure") &&
                terms.contains("vacuole"));
        QVERIFY(fillIn.questions.size() < 20 && fillIn.note);
        QVERIFY2(fillIn.note->startsWith(QStringLiteral("This quiz has %1 of the 20 questions you asked for.")
                                             .arg(fillIn.questions.size())),
                 qPrintable(*fillIn.note));
        QVERIFY(!first.note);
        QCOMPARE(fillIn.title, "BIOL 110 practice test: plants");
    }

    // A generated quiz earns once, and only when taken no faster than two seconds a question from
    // when it was last handed out; the answers are graded against the questions it holds.
    void aGeneratedQuizEarnsOnceAtAHumanPace() {
        server->freezeClock();
        token = server->sessionToken(device);
        const QString courseId = server->addCourse(token, "BIOL 110");
        addNotes(courseId, cellNotes);
        const GenerateQuizResponse quiz =
            inlineQuiz(generate(courseId, quizRequest("multiple_choice", "medium", 5)));
        QVERIFY(quiz.quizId && !quiz.quizId->isEmpty());
        QuizCompleteRequest body;
        body.userId = device.userId;
        body.quizId = quiz.quizId;
        body.attemptId = "a1";
        body.quizDifficulty = "medium";
        body.answers = QList<QString>();
        for (const QuizQuestion& question : quiz.questions)
            body.answers->append(QString::number(*question.correctAnswerIndex));
        const auto complete = [&] {
            return server->api("POST", "/api/gamification/quiz/complete", token,
                               QJsonDocument::fromJson(json::encode(body)).object());
        };
        const qint64 least = 5 * ServerOptions().quizMsPerQuestion;
        server->advanceClock(least - 1);
        const TestServer::Reply early = complete();
        QCOMPARE(early.status, 422);
        QCOMPARE(early.json().value("detail").toString(),
                 "This quiz was finished too quickly to earn rewards: 5 questions take at least 10 seconds.");
        // Handed out again from the cache, the same quiz is timed afresh.
        const GenerateQuizResponse again =
            inlineQuiz(generate(courseId, quizRequest("multiple_choice", "medium", 5)));
        QCOMPARE(again.quizId, quiz.quizId);
        server->advanceClock(least - 1);
        QCOMPARE(complete().status, 422);
        server->advanceClock(1);
        const TestServer::Reply earned = complete();
        QCOMPARE(earned.status, 200);
        QCOMPARE(json::decode<QuizCompleteResponse>(earned.body).xpAwarded, 120); // 5 right, perfect, × 1.2
        body.attemptId = "a2";
        QCOMPARE(complete().status, 409);
    }

    void refusalsSpendNothing() {
        const QString courseId = server->addCourse(token, "BIOL 110");
        const QString empty = server->addCourse(token, "HIST 200");
        addNotes(courseId, cellNotes);

        const TestServer::Reply nothing = generate(empty, quizRequest("true_false", "easy", 5));
        QCOMPARE(nothing.status, 422);
        QCOMPARE(nothing.json().value("detail").toString(),
                 "Nothing to quiz on yet: add notes or a syllabus to this course.");
        QCOMPARE(status(empty, "true_false").dailyGenerationsUsed, 0);
        QCOMPARE(generate(courseId, quizRequest("true_false", "easy", 5, false, "volcanoes")).status, 422);

        for (const QJsonObject& bad :
             {quizRequest("essay", "easy", 5), quizRequest("true_false", "brutal", 5),
              quizRequest("true_false", "easy", 0), quizRequest("true_false", "easy", 21),
              QJsonObject{{"question_type", "true_false"}, {"difficulty", "easy"}, {"num_questions", 2.5}}})
            QCOMPARE(generate(courseId, bad).status, 422);
        QCOMPARE(
            server->api("GET", "/api/courses/" + courseId + "/quiz/cache-status?question_type=essay", token)
                .status,
            422);
        QCOMPARE(status(courseId, "true_false").dailyGenerationsUsed, 0);

        // Another user's course is not found, whatever its notes.
        const QString otherToken =
            server->sessionToken(server->signUp("other@example.com", "practice-test-2"));
        const QString foreign = server->addCourse(otherToken, "CHEM 101");
        QCOMPARE(generate(foreign, quizRequest("true_false", "easy", 5)).status, 404);
        QCOMPARE(
            server
                ->api("GET", "/api/courses/" + foreign + "/quiz/cache-status?question_type=true_false", token)
                .status,
            404);
        QCOMPARE(generate("no-such-course", quizRequest("true_false", "easy", 5)).status, 404);
    }

    void theDailyQuotaReturnsAtLocalMidnight() {
        QCOMPARE(server->api("PATCH", "/api/user/timezone", token, {{"timezone", "America/New_York"}}).status,
                 200);
        // 20:30 in New York, already the next day in UTC.
        server->setTime(QDateTime(QDate(2026, 3, 10), QTime(20, 30), QTimeZone("America/New_York")));
        token = server->sessionToken(device);
        const QString courseId = server->addCourse(token, "BIOL 110");
        addNotes(courseId, cellNotes);

        for (int i = 0; i < QuizRoutes::maxDailyGenerations; ++i)
            QCOMPARE(generate(courseId, quizRequest("true_false", "medium", 3, true)).status, 200);
        const TestServer::Reply refused = generate(courseId, quizRequest("true_false", "medium", 3, true));
        QCOMPARE(refused.status, 429);
        QCOMPARE(refused.json().value("detail").toString(),
                 "You've used all 10 quiz generations for this course today. More in 3h 30m.");
        QuizCacheStatusResponse spent = status(courseId, "true_false");
        QVERIFY(!spent.canRegenerate);
        QCOMPARE(spent.dailyGenerationsRemaining, 0);
        QCOMPARE(spent.cooldownRemainingFormatted, "3h 30m");
        // The cached quiz is still served; a new one is not.
        QCOMPARE(inlineQuiz(generate(courseId, quizRequest("true_false", "medium", 3))).fromCache, true);
        QCOMPARE(generate(courseId, quizRequest("true_false", "hard", 3)).status, 429);

        server->advanceClock((3 * 60 + 29) * 60'000 + 30'000); // 23:59:30
        token = server->sessionToken(device);
        QCOMPARE(status(courseId, "true_false").cooldownRemainingFormatted, "1m");
        server->advanceClock(30'000);
        token = server->sessionToken(device);
        const QuizCacheStatusResponse renewed = status(courseId, "true_false");
        QCOMPARE(renewed.dailyGenerationsRemaining, QuizRoutes::maxDailyGenerations);
        QVERIFY(renewed.canRegenerate && !renewed.cooldownRemainingFormatted);
        QCOMPARE(inlineQuiz(generate(courseId, quizRequest("true_false", "hard", 3))).dailyGenerationsUsed,
                 1);

        QCOMPARE(QuizRoutes::formatCooldown(59'000), "1m");
        QCOMPARE(QuizRoutes::formatCooldown(2 * 3'600'000), "2h");
        QCOMPARE(QuizRoutes::formatCooldown(2 * 3'600'000 + 1), "2h 1m");
    }

    void longNotesAreQuizzedByAJob() {
        const QString courseId = server->addCourse(token, "BIOL 110");
        addNotes(courseId, longNotes());

        const TestServer::Reply queued = generate(courseId, quizRequest("fill_in_blank", "hard", 4));
        QCOMPARE(queued.status, 200);
        const auto answer = json::decode<InlineOrEnqueued<GenerateQuizResponse>>(queued.body);
        QVERIFY(answer.job());
        QCOMPARE(answer.job()->jobType, "quiz");
        const QJsonObject finished = server->waitForJob(answer.job()->jobId, token);
        const auto job = json::fromValue<GenerationJobStatusResponse<GenerateQuizResponse>>(finished);
        QCOMPARE(job.status, GenerationJobStatus::complete);
        QVERIFY(job.result);
        QCOMPARE(job.result->questions.size(), 4);
        QCOMPARE(job.result->dailyGenerationsUsed, 1);

        // Its quiz is cached like an inline one.
        const GenerateQuizResponse cached =
            inlineQuiz(generate(courseId, quizRequest("fill_in_blank", "hard", 4)));
        QCOMPARE(cached.fromCache, true);
        QCOMPARE(cached.questions.size(), 4);
        QCOMPARE(cached.questions.first().question, job.result->questions.first().question);

        // A job that finds nothing fails with the reason and gives its generation back.
        const QString failing = generate(courseId, quizRequest("true_false", "hard", 4, false, "volcanoes"))
                                    .json()
                                    .value("job_id")
                                    .toString();
        const QJsonObject failed = server->waitForJob(failing, token);
        QCOMPARE(failed.value("status").toString(), "failed");
        QVERIFY(failed.value("error").toString().contains("“volcanoes”"));
        QCOMPARE(status(courseId, "true_false").dailyGenerationsUsed, 1);
    }
};

QTEST_GUILESS_MAIN(QuizFlowTest)
#include "QuizFlowTest.moc"
