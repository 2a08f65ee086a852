#include <QtTest>

#include "APIError.h"
#include "Common/AppContext.h"
#include "Common/SupportLinks.h"
#include "FakeUrlOpener.h"
#include "InMemoryPreferences.h"
#include "NotificationManager.h"
#include "Quiz/QuizGrading.h"
#include "Quiz/QuizLaunchRequests.h"
#include "Quiz/QuizModel.h"
#include "Quiz/QuizNotice.h"
#include "Quiz/QuizRewards.h"
#include "Quiz/QuizRunner.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "Shell/NotificationRouting.h"
#include "VirtualClock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace std::chrono_literals;
using QuizGrading::Grade;

namespace {

QuizQuestion choice(std::optional<int> correct, QStringList options = {"A", "B", "C", "D"}) {
    QuizQuestion question;
    question.question = QStringLiteral("Pick one");
    question.options = options;
    question.correctAnswerIndex = correct;
    return question;
}

QuizQuestion fillIn(QStringList accepted, QStringList options = {}) {
    QuizQuestion question;
    question.question = QStringLiteral("The capital of France is ___");
    question.correctAnswerStrings = accepted;
    question.options = options;
    return question;
}

QByteArray quizBody(int count) {
    QJsonArray questions;
    for (int i = 0; i < count; ++i)
        questions.append(QJsonObject{{"question", QStringLiteral("Question %1?").arg(i + 1)},
                                     {"options", QJsonArray{"A", "B", "C", "D"}},
                                     {"correct_answer", i % 4}});
    return QJsonDocument(QJsonObject{{"quiz_id", "quiz_1"}, {"questions", questions}})
        .toJson(QJsonDocument::Compact);
}

QByteArray jobBody(const QString& status, const QByteArray& result = {}) {
    QJsonObject object{{"job_id", "quiz-1"},
                       {"user_id", "u1"},
                       {"job_type", "quiz"},
                       {"status", status},
                       {"created_at", "2026-01-01T09:00:00Z"}};
    if (!result.isEmpty())
        object["result"] = QJsonDocument::fromJson(result).object();
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// The backend on a scripted server: each endpoint answers with what is set here.
struct Backend {
    ScriptedHttpServer server;
    QByteArray courses =
        R"([{"course_id":"c1","course_name":"Biology"},{"course_id":"c2","course_name":"History"}])";
    int coursesStatus = 200;
    QByteArray cacheStatus = R"({"has_cached_quiz":true,"can_regenerate":true,"daily_generations_used":2,)"
                             R"("daily_generations_remaining":3,"max_daily_generations":5})";
    std::optional<ScriptedResponse> generate = ScriptedResponse::json(200, quizBody(3));
    QByteArrayList jobAnswers;
    std::optional<ScriptedResponse> score = ScriptedResponse::json(200, R"({"status":"ok"})");
    std::optional<ScriptedResponse> complete = ScriptedResponse::json(
        200, R"({"xp_awarded":40,"credits_awarded":{"amount":25,"tier":"silver","point_value":1},)"
             R"("multipliers":{"difficulty":1.0,"streak":2.0},)"
             R"("achievements_earned":[{"achievement_id":"a1","name":"First quiz"}]})");

    Backend() {
        server.setHandler([this](const RecordedRequest& r) { return answer(r); });
    }

    ScriptedResponse answer(const RecordedRequest& r) {
        if (r.path == "/api/bootstrap")
            return ScriptedResponse::json(coursesStatus, "{\"courses\":" + courses + ",\"documents\":[]}");
        if (r.path.endsWith("/quiz/cache-status"))
            return ScriptedResponse::json(200, cacheStatus);
        if (r.path.endsWith("/quiz/generate"))
            return *generate;
        if (r.path.startsWith("/api/jobs/"))
            return ScriptedResponse::json(200,
                                          jobAnswers.isEmpty() ? jobBody("failed") : jobAnswers.takeFirst());
        if (r.path == "/api/quiz-scores")
            return *score;
        if (r.path == "/api/gamification/quiz/complete")
            return *complete;
        return ScriptedResponse::json(404, "{}");
    }

    QList<RecordedRequest> requestsTo(const QByteArray& pathPart) const {
        QList<RecordedRequest> found;
        for (const RecordedRequest& r : server.requests()) {
            if (r.target.contains(pathPart))
                found << r;
        }
        return found;
    }

    QJsonObject lastBodyTo(const QByteArray& pathPart) const {
        const QList<RecordedRequest> found = requestsTo(pathPart);
        return found.isEmpty() ? QJsonObject() : QJsonDocument::fromJson(found.last().body).object();
    }
};

// The Quiz tab on a scripted backend, signed in as "user_1" at version 2.3.0.
struct Screen {
    InMemoryPreferences preferences;
    FakeUrlOpener opener;
    std::optional<QString> userId = QStringLiteral("user_1");
    AppContext context;
    QuizModel model;

    explicit Screen(Backend& backend)
        : context(backend.server.baseUrl(), {}), model(
                                                     scriptedClient(backend.server), preferences, opener,
                                                     [this] { return userId; }, QStringLiteral("2.3.0")) {
        model.setContext(&context);
        // What the app forwards from the notification manager.
        QObject::connect(&NotificationManager::shared(), &NotificationManager::studyReminderTapped, &context,
                         &AppContext::studyReminderTapped);
    }

    QuizSetupModel& setup() { return *model.setup(); }
    QuizRunner& runner() { return *model.runner(); }
    QuizResult& result() { return *model.result(); }

    // Loaded, and the generated quiz open in the runner.
    bool startQuiz() {
        model.load();
        if (!QTest::qWaitFor([&] { return setup().canGenerate(); }))
            return false;
        setup().generate();
        return QTest::qWaitFor([&] { return model.phase() == QuizModel::Phase::Running; });
    }
};

} // namespace

class QuizTest : public QObject {
    Q_OBJECT

    async::VirtualClock clock;
    std::unique_ptr<async::ScopedClock> useClock;

private Q_SLOTS:
    void initTestCase() { useClock = std::make_unique<async::ScopedClock>(clock); }
    void init() {
        QuizLaunchRequests::takePendingCourseId();
        QuizLaunchRequests::setPendingDeepLink({});
    }

    // Choice answers are option positions written as decimal integers; anything else is wrong,
    // even the option's own text.
    void choiceAnswersMustBePositions() {
        const QuizQuestion question = choice(1);
        for (const char* right : {"1", "+1", "01"})
            QVERIFY2(QuizGrading::isCorrect(QuizQuestionType::multipleChoice, question, right), right);
        for (const char* wrong : {"", "0", "B", " 1", "1 ", "1.0", "+", "-1", "99999999999999999999999"})
            QVERIFY2(!QuizGrading::isCorrect(QuizQuestionType::multipleChoice, question, wrong), wrong);
        QVERIFY(QuizGrading::isCorrect(QuizQuestionType::trueFalse, choice(0, {}), "-0"));
        QVERIFY(!QuizGrading::isCorrect(QuizQuestionType::trueFalse, choice(std::nullopt), "0"));
    }

    // Typed answers match when they agree after trimming and lower-casing, against the accepted
    // answers, else against the first option.
    void fillInAnswersAreNormalised() {
        const auto correct = [](const QuizQuestion& question, const QString& answer) {
            return QuizGrading::isCorrect(QuizQuestionType::fillInBlank, question, answer);
        };
        QVERIFY(correct(fillIn({"Lutetia", " Paris "}), "  pARIS\n"));
        QVERIFY(!correct(fillIn({"Paris"}), "Pari"));
        QVERIFY(!correct(fillIn({"Paris"}), " \n "));
        QVERIFY(!correct(fillIn({""}), ""));
        QVERIFY(correct(fillIn({}, {"Paris", "Lyon"}), "paris"));
        QVERIFY(!correct(fillIn({}, {"Paris", "Lyon"}), "lyon"));
        QVERIFY(!correct(fillIn({}), "paris"));
    }

    // The score counts unanswered questions as wrong; the grade's edges sit at 80 and 60.
    // Keys pick options from position 0; moving stops at the first question and finishes on the
    // last. An option one past the end is no answer.
    void keysAndMovesStayWithinTheQuiz() {
        QuizRunner runner;
        runner.start({choice(0), choice(1), choice(2)}, QuizQuestionType::multipleChoice,
                     QuizDifficulty::easy);
        const struct {
            int key;
            const char* text;
            int position;
        } choiceKeys[] = {{Qt::Key_1, "1", 0},  {Qt::Key_4, "4", 3},  {Qt::Key_5, "5", -1},
                          {Qt::Key_0, "0", -1}, {Qt::Key_A, "a", 0},  {Qt::Key_D, "D", 3},
                          {Qt::Key_E, "e", -1}, {Qt::Key_T, "t", -1}, {Qt::Key_Space, " ", -1}};
        for (const auto& [key, text, position] : choiceKeys)
            QCOMPARE(runner.optionForKey(key, text), position);
        runner.choose(4);
        runner.choose(-1);
        QCOMPARE(runner.answer(), QString());
        runner.choose(3);
        QCOMPARE(runner.chosenOption(), 3);
        runner.previous();
        QCOMPARE(runner.index(), 0);
        runner.next();
        runner.next();
        QVERIFY(runner.isLast());
        QCOMPARE(runner.header(), QStringLiteral("Question 3 of 3"));
        QSignalSpy finished(&runner, &QuizRunner::finished);
        runner.next();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(runner.index(), 2);

        runner.start({choice(0, {}), choice(1, {})}, QuizQuestionType::trueFalse, QuizDifficulty::easy);
        QCOMPARE(runner.optionForKey(Qt::Key_T, "t"), 0);
        QCOMPARE(runner.optionForKey(Qt::Key_F, "f"), 1);
        QCOMPARE(runner.optionForKey(Qt::Key_1, "1"), 0);
        runner.choose(2);
        QCOMPARE(runner.chosenOption(), -1);
        runner.choose(1);
        QCOMPARE(runner.chosenOption(), 1);

        runner.start({fillIn({"Paris"})}, QuizQuestionType::fillInBlank, QuizDifficulty::easy);
        QCOMPARE(runner.optionForKey(Qt::Key_A, "a"), -1);
        QCOMPARE(runner.optionForKey(Qt::Key_1, "1"), -1);
        QVERIFY(runner.isLast() && !runner.canGoBack());
    }

    void scoreAndGrade() {
        const QList<QuizQuestion> questions{choice(0), choice(1), choice(2), choice(3), choice(0)};
        const QuizGrading::Score four = QuizGrading::score(QuizQuestionType::multipleChoice, questions,
                                                           {{0, "0"}, {1, "1"}, {2, "2"}, {3, "3"}});
        QCOMPARE(four.correct, 4);
        QCOMPARE(four.percent, 80.0);
        QCOMPARE(QuizGrading::grade(four), Grade::greatWork);
        QCOMPARE(QuizGrading::scoreLine(four), QStringLiteral("4 out of 5 correct"));
        QCOMPARE(QuizGrading::spokenLabel(four), QStringLiteral("Score: 80 percent. Great work"));

        QCOMPARE(QuizGrading::grade({3, 5, 60}), Grade::keepGoing);
        QCOMPARE(QuizGrading::grade({0, 0, 59.9}), Grade::reviewNeeded);
        QCOMPARE(QuizGrading::spokenLabel({0, 0, 59.9}), QStringLiteral("Score: 59 percent. Review needed"));
        const QuizGrading::Score empty = QuizGrading::score(QuizQuestionType::multipleChoice, {}, {});
        QCOMPARE(empty.percent, 0.0);
        QCOMPARE(QuizGrading::gradeText(QuizGrading::grade(empty)), QStringLiteral("Review needed"));
        QCOMPARE(QuizGrading::gradeText(Grade::keepGoing), QStringLiteral("Keep going"));
    }

    void rewardTexts() {
        QCOMPARE(QuizRewards::multiplierText(1.0, "difficulty"), QString());
        QCOMPARE(QuizRewards::multiplierText(0.5, "difficulty"), QString());
        QCOMPARE(QuizRewards::multiplierText(2.0, "streak"), QStringLiteral("× 2 streak"));
        QCOMPARE(QuizRewards::multiplierText(1.5, "difficulty"), QStringLiteral("× 1.5 difficulty"));
        QCOMPARE(QuizRewards::multiplierText(1.04, "streak"), QStringLiteral("× 1 streak"));

        // A Double XP Day's multiplier follows the others; without one (older servers) nothing shows.
        QuizCompleteResponse boosted;
        boosted.multipliers = QuizMultipliers{1.2, 1.0, 2.0};
        QCOMPARE(QuizRewards::from(boosted).multipliers, (QStringList{"× 1.2 difficulty", "× 2 double XP"}));
        boosted.multipliers = QuizMultipliers{1.5, 1.1, std::nullopt};
        QCOMPARE(QuizRewards::from(boosted).multipliers, (QStringList{"× 1.5 difficulty", "× 1.1 streak"}));

        QuizCompleteResponse response;
        response.achievementsEarned =
            QList<AchievementEarned>{{"a1", QStringLiteral("First quiz")}, {"a2", std::nullopt}};
        response.creditsAwarded = CreditsAward{10, std::nullopt, std::nullopt};
        const QuizRewards several = QuizRewards::from(response);
        QCOMPARE(several.achievementsTitle, QStringLiteral("Achievements unlocked"));
        QCOMPARE(several.achievements, (QStringList{"First quiz", "a2"}));
        QCOMPARE(several.credits, QStringLiteral("10"));
        QVERIFY(several.xp.isEmpty());
        QVERIFY(QuizRewards::from({}).isEmpty());
    }

    void noticeNamesWhatFailed() {
        QCOMPARE(QuizNotice::compose("you're signed out", "we're rate limited right now"),
                 QStringLiteral("We couldn't save your score: you're signed out. Rewards also couldn't be "
                                "tallied: we're rate limited right now."));
        QCOMPARE(QuizNotice::compose("Disk full!", std::nullopt),
                 QStringLiteral("Rewards are tallied, but we couldn't save your score: Disk full!"));
        QCOMPARE(
            QuizNotice::compose(std::nullopt, "the server couldn't find it"),
            QStringLiteral("Score saved, but rewards couldn't be tallied: the server couldn't find it."));
        QCOMPARE(QuizNotice::compose(std::nullopt, std::nullopt), QString());
    }

    // What other screens leave for the tab is taken once; only the auto-start link is the quiz's.
    void launchRequestsAreTakenOnce() {
        QuizLaunchRequests::setPendingCourseId("c1");
        QuizLaunchRequests::setPendingCourseId("c2");
        QCOMPARE(QuizLaunchRequests::takePendingCourseId(), QStringLiteral("c2"));
        QCOMPARE(QuizLaunchRequests::takePendingCourseId(), QString());

        QuizLaunchRequests::setPendingDeepLink("quiz");
        QVERIFY(!QuizLaunchRequests::takeAutoStart());
        QCOMPARE(QuizLaunchRequests::pendingDeepLink(), QStringLiteral("quiz"));
        QuizLaunchRequests::setPendingDeepLink("quiz-auto-start");
        QVERIFY(QuizLaunchRequests::takeAutoStart());
        QVERIFY(!QuizLaunchRequests::takeAutoStart());
        QCOMPARE(QuizLaunchRequests::pendingDeepLink(), QString());
    }

    // Never on the first quiz, only after a saved score of at least 70 %, and once per version.
    void reviewPromptRule() {
        InMemoryPreferences preferences;
        FakeUrlOpener opener;
        ReviewPrompt prompt(preferences, opener, "2.3.0");
        prompt.quizCompleted(true, 100);
        QVERIFY(!prompt.isShown());
        prompt.quizCompleted(false, 100);
        QVERIFY(!prompt.isShown());
        prompt.quizCompleted(true, 69.9);
        QVERIFY(!prompt.isShown());
        QCOMPARE(preferences.integer(ReviewPrompt::completedQuizzesKey).value_or(0), 3);
        prompt.quizCompleted(true, 70);
        QVERIFY(prompt.isShown());
        QCOMPARE(preferences.string(ReviewPrompt::lastPromptedVersionKey), QStringLiteral("2.3.0"));
        prompt.openPage();
        QVERIFY(!prompt.isShown());
        QCOMPARE(opener.opened, QList<QUrl>{SupportLinks::appPage()});

        prompt.quizCompleted(true, 100);
        QVERIFY(!prompt.isShown());
        ReviewPrompt upgraded(preferences, opener, "2.4.0");
        upgraded.quizCompleted(true, 90);
        QVERIFY(upgraded.isShown());
        upgraded.dismiss();
        QVERIFY(!upgraded.isShown());
        QCOMPARE(opener.opened.size(), 1);
    }

    // The courses arrive with the first selected, or the course another screen left waiting;
    // the quota is fetched for each course and question type chosen.
    void setupFollowsCourseAndType() {
        Backend backend;
        Screen screen(backend);
        QuizLaunchRequests::setPendingCourseId("c2");
        screen.model.load();
        QVERIFY(screen.setup().isLoadingCourses());
        QTRY_COMPARE(screen.setup().selectedCourseId(), QStringLiteral("c2"));
        QCOMPARE(QuizLaunchRequests::takePendingCourseId(), QString());
        QCOMPARE(screen.setup().courses().size(), 2);
        QTRY_COMPARE(screen.setup().cacheStatusLines(),
                     (QStringList{"Cached quiz available", "3 of 5 generations left today"}));
        QCOMPARE(backend.requestsTo("/quiz/cache-status").last().target,
                 QByteArray("/api/courses/c2/quiz/cache-status?question_type=multiple_choice"));

        backend.cacheStatus = R"({"has_cached_quiz":false,"can_regenerate":false,"daily_generations_used":5,)"
                              R"("daily_generations_remaining":0,"max_daily_generations":5,)"
                              R"("cooldown_remaining_formatted":"3h 12m"})";
        screen.setup().setQuestionType(int(QuizQuestionType::fillInBlank));
        QVERIFY(screen.setup().cacheStatusLines().isEmpty());
        QTRY_COMPARE(screen.setup().cacheStatusLines(), QStringList{"Daily limit reached. Resets in 3h 12m"});
        QCOMPARE(backend.requestsTo("/quiz/cache-status").last().target,
                 QByteArray("/api/courses/c2/quiz/cache-status?question_type=fill_in_blank"));
        screen.setup().selectCourse("c1");
        QTRY_COMPARE(backend.requestsTo("/api/courses/c1/quiz/cache-status").size(), 1);
        screen.setup().selectCourse("nope");
        QCOMPARE(screen.setup().selectedCourseId(), QStringLiteral("c1"));

        screen.setup().setQuestionCount(25);
        QCOMPARE(screen.setup().questionCountLabel(), QStringLiteral("Questions: 20"));
        screen.setup().setQuestionCount(0);
        QCOMPARE(screen.setup().questionCount(), 1);
    }

    void coursesThatFailOrAreMissing() {
        Backend backend;
        backend.coursesStatus = 500;
        Screen failing(backend);
        failing.model.load();
        QTRY_VERIFY(failing.setup().coursesError().startsWith("Couldn't load courses: "));
        QVERIFY(!failing.setup().hasNoCourses());
        QVERIFY(!failing.setup().canGenerate());

        backend.coursesStatus = 200;
        backend.courses = "[]";
        QuizLaunchRequests::setPendingDeepLink("quiz-auto-start");
        Screen empty(backend);
        empty.model.load();
        QTRY_VERIFY(empty.setup().hasNoCourses());
        QCOMPARE(empty.setup().coursesError(), QString());
        // With no course the auto-start is used up without a generation.
        QCOMPARE(QuizLaunchRequests::pendingDeepLink(), QString());
        QVERIFY(backend.requestsTo("/quiz/generate").isEmpty());
    }

    // A queued generation is followed on the clock; the line shows the job's state and the whole
    // seconds since "Start Practice Test".
    void queuedGenerationShowsItsProgress() {
        Backend backend;
        backend.generate =
            ScriptedResponse::json(200, R"({"job_id":"quiz-1","status":"queued","job_type":"quiz"})");
        backend.jobAnswers = {jobBody("queued"), jobBody("processing"), jobBody("complete", quizBody(2))};
        Screen screen(backend);
        screen.model.load();
        QTRY_VERIFY(screen.setup().canGenerate());
        screen.setup().setTopic("  ");
        screen.setup().setDifficulty(int(QuizDifficulty::hard));
        screen.setup().generate();
        QVERIFY(screen.setup().isGenerating());
        QCOMPARE(screen.setup().jobStatusText(), QStringLiteral("Generating…, 0 seconds elapsed"));
        QTRY_COMPARE(screen.setup().jobStatusText(),
                     QStringLiteral("Queued… waiting in line, 0 seconds elapsed"));
        const QJsonObject sent = backend.lastBodyTo("/quiz/generate");
        QVERIFY(!sent.contains("topic"));
        QCOMPARE(sent["num_questions"].toInt(), 10);
        QCOMPARE(sent["difficulty"].toString(), QStringLiteral("hard"));
        QCOMPARE(sent["question_type"].toString(), QStringLiteral("multiple_choice"));
        QCOMPARE(sent["force_regenerate"].toBool(), false);

        clock.advance(1s);
        QTRY_COMPARE(screen.setup().jobStatusText(),
                     QStringLiteral("Queued… waiting in line, 1 seconds elapsed"));
        clock.advance(1s);
        QTRY_COMPARE(screen.setup().jobStatusText(), QStringLiteral("Generating…, 2 seconds elapsed"));
        clock.advance(2s);
        QTRY_COMPARE(screen.model.phase(), QuizModel::Phase::Running);
        QVERIFY(!screen.setup().isGenerating());
        QCOMPARE(screen.runner().count(), 2);
        QCOMPARE(screen.runner().difficultyLabel(), QStringLiteral("Hard difficulty"));
        QCOMPARE(QuizSetupModel::jobStateLabel("running"), QStringLiteral("Writing questions…"));
        QCOMPARE(QuizSetupModel::jobStateLabel("finishing"), QStringLiteral("Almost done…"));
        QCOMPARE(QuizSetupModel::jobStateLabel("failed"), QStringLiteral("Generation failed"));
    }

    // Cancel drops the request in flight; its answer, had it come, changes nothing.
    void cancelledGenerationChangesNothing() {
        Backend backend;
        backend.generate = ScriptedResponse::held(ScriptedResponse::json(200, quizBody(3)));
        Screen screen(backend);
        screen.model.load();
        QTRY_VERIFY(screen.setup().canGenerate());
        screen.setup().generate();
        QTRY_COMPARE(backend.server.heldCount(), 1);
        screen.setup().cancel();
        QVERIFY(!screen.setup().isGenerating());
        QCOMPARE(screen.setup().jobStatusText(), QString());
        QTRY_COMPARE(backend.server.clientAbortsWhileHeld(), 1);
        backend.server.releaseHeld();
        clock.advance(5s);
        QCoreApplication::processEvents();
        QCOMPARE(screen.model.phase(), QuizModel::Phase::Setup);
        QCOMPARE(screen.setup().errorText(), QString());
        QCOMPARE(screen.setup().jobStatusText(), QString());
    }

    void generationFailuresStayInSetup() {
        Backend backend;
        backend.generate = ScriptedResponse::json(429, R"({"detail":"slow down"})");
        Screen screen(backend);
        screen.model.load();
        QTRY_VERIFY(screen.setup().canGenerate());
        screen.setup().generate();
        QTRY_COMPARE(screen.setup().errorText(),
                     QStringLiteral("Couldn't generate quiz: we're rate limited right now."));
        backend.generate = ScriptedResponse::json(500, R"({"detail":"Model overloaded"})");
        screen.setup().generate();
        QTRY_COMPARE(screen.setup().errorText(), QStringLiteral("Couldn't generate quiz: Model overloaded."));
        backend.generate = ScriptedResponse::json(200, quizBody(0));
        screen.setup().generate();
        QTRY_COMPARE(screen.setup().errorText(), QuizSetupModel::emptyQuizText);
        QCOMPARE(screen.model.phase(), QuizModel::Phase::Setup);
    }

    // A quiz shorter than asked says why above its first question; a full one says nothing.
    void aShortQuizSaysWhy() {
        Backend backend;
        const QString why = QStringLiteral("This quiz has 2 of the 10 questions you asked for.");
        QJsonObject body = QJsonDocument::fromJson(quizBody(2)).object();
        body["note"] = why;
        backend.generate = ScriptedResponse::json(200, QJsonDocument(body).toJson(QJsonDocument::Compact));
        Screen screen(backend);
        QVERIFY(screen.startQuiz());
        QuizRunner& runner = screen.runner();
        QCOMPARE(runner.note(), why);
        runner.next();
        QCOMPARE(runner.note(), QString());
        runner.previous();
        QCOMPARE(runner.note(), why);

        backend.generate = ScriptedResponse::json(200, quizBody(3));
        screen.model.cancelRun();
        screen.setup().generate();
        QTRY_COMPARE(screen.model.phase(), QuizModel::Phase::Running);
        QCOMPARE(runner.count(), 3);
        QCOMPARE(runner.note(), QString());
    }

    // The auto-start link starts a generation as soon as the courses are in, for the course left
    // waiting when there is one.
    void autoStartGeneratesOnceCoursesLoad() {
        Backend backend;
        QuizLaunchRequests::setPendingDeepLink("quiz-auto-start");
        QuizLaunchRequests::setPendingCourseId("c2");
        Screen screen(backend);
        screen.model.load();
        QTRY_COMPARE(screen.model.phase(), QuizModel::Phase::Running);
        QCOMPARE(backend.requestsTo("/quiz/generate").first().target,
                 QByteArray("/api/courses/c2/quiz/generate"));
        screen.model.cancelRun();
        QCOMPARE(screen.model.phase(), QuizModel::Phase::Setup);
        screen.model.load();
        QTRY_COMPARE(backend.requestsTo("/api/bootstrap").size(), 2);
        // The courses are in again: a second start would have begun as they arrived.
        QTRY_VERIFY(!screen.setup().isLoadingCourses());
        QVERIFY(!screen.setup().isGenerating());
        QCOMPARE(backend.requestsTo("/quiz/generate").size(), 1);
    }

    // "quiz-auto-start" clicked while the tab shows its setup starts a quiz; clicked during a quiz
    // it is used up without a second one.
    void autoStartClickedWhileTheTabShows() {
        Backend backend;
        Screen screen(backend);
        screen.model.load();
        QTRY_COMPARE(backend.requestsTo("/api/bootstrap").size(), 1);
        NotificationManager::shared().openDeepLink("quiz");
        QTRY_COMPARE(backend.requestsTo("/api/bootstrap").size(), 1);
        QCOMPARE(screen.model.phase(), QuizModel::Phase::Setup);

        NotificationManager::shared().openDeepLink("quiz-auto-start");
        QTRY_COMPARE(screen.model.phase(), QuizModel::Phase::Running);
        QCOMPARE(backend.requestsTo("/quiz/generate").size(), 1);
        NotificationManager::shared().openDeepLink("quiz-auto-start");
        QCOMPARE(QuizLaunchRequests::pendingDeepLink(), QString());
        QCOMPARE(screen.model.phase(), QuizModel::Phase::Running);
    }

    // A quiz notification opened while the tab is kept selects its course at once from the listed
    // courses, fetches them again for one not listed, leaves a test in progress running and
    // brings the setup back from a result. Other destinations change nothing here.
    void routedQuizNotificationSelectsItsCourse() {
        Backend backend;
        Screen screen(backend);
        screen.model.load();
        QTRY_COMPARE(screen.setup().selectedCourseId(), QStringLiteral("c1"));
        QTRY_VERIFY(!screen.setup().isLoadingCourses());

        NotificationRouting::post(screen.context, NotificationDestination::library());
        NotificationRouting::post(screen.context, NotificationDestination::quizSetup("c2"));
        QCOMPARE(screen.setup().selectedCourseId(), QStringLiteral("c2"));
        QCOMPARE(QuizLaunchRequests::pendingCourseId(), QString());
        QCOMPARE(backend.requestsTo("/api/bootstrap").size(), 1);

        backend.courses =
            R"([{"course_id":"c1","course_name":"Biology"},{"course_id":"c3","course_name":"Art"}])";
        NotificationRouting::post(screen.context, NotificationDestination::quizSetup("c3"));
        QTRY_COMPARE(screen.setup().selectedCourseId(), QStringLiteral("c3"));
        QCOMPARE(backend.requestsTo("/api/bootstrap").size(), 2);

        QVERIFY(screen.startQuiz());
        screen.runner().choose(1);
        NotificationRouting::post(screen.context, NotificationDestination::quizSetup("c1"));
        QCOMPARE(screen.model.phase(), QuizModel::Phase::Running);
        QCOMPARE(screen.runner().chosenOption(), 1);
        QTRY_COMPARE(screen.setup().selectedCourseId(), QStringLiteral("c1"));

        screen.runner().next();
        screen.runner().next();
        screen.runner().next();
        QCOMPARE(screen.model.phase(), QuizModel::Phase::Result);
        NotificationRouting::post(screen.context, NotificationDestination::quizSetup("c3"));
        QCOMPARE(screen.model.phase(), QuizModel::Phase::Setup);
        QCOMPARE(screen.setup().selectedCourseId(), QStringLiteral("c3"));
    }

    // A course left waiting while the courses load is taken by that load, not fetched twice.
    void routedCourseWhileCoursesLoad() {
        Backend backend;
        Screen screen(backend);
        screen.model.load();
        QVERIFY(screen.setup().isLoadingCourses());
        NotificationRouting::post(screen.context, NotificationDestination::quizSetup("c2"));
        QTRY_COMPARE(screen.setup().selectedCourseId(), QStringLiteral("c2"));
        QCOMPARE(backend.requestsTo("/api/bootstrap").size(), 1);
    }

    // Answers are kept per question while moving about; Finish reports the graded quiz, the score
    // first, then the completion with the rewards.
    void takingAndReportingAQuiz() {
        Backend backend;
        backend.complete = ScriptedResponse::held(*backend.complete);
        Screen screen(backend);
        screen.setup().setTopic("  Cells ");
        QVERIFY(screen.startQuiz());
        QuizRunner& runner = screen.runner();
        QCOMPARE(runner.header(), QStringLiteral("Question 1 of 3"));
        QCOMPARE(runner.options(), (QStringList{"A", "B", "C", "D"}));
        QVERIFY(!runner.canGoBack());
        runner.choose(0); // right
        runner.choose(7); // no such option
        QCOMPARE(runner.chosenOption(), 0);
        runner.next();
        runner.choose(3); // wrong
        runner.previous();
        QCOMPARE(runner.answer(), QStringLiteral("0"));
        runner.next();
        QCOMPARE(runner.chosenOption(), 3);
        runner.next();
        QVERIFY(runner.isLast());
        runner.choose(2); // right
        clock.advance(92'600ms);
        runner.next();

        QCOMPARE(screen.model.phase(), QuizModel::Phase::Result);
        QuizResult& result = screen.result();
        QCOMPARE(result.scoreLine(), QStringLiteral("2 out of 3 correct"));
        QCOMPARE(result.spokenLabel(), QStringLiteral("Score: 66 percent. Keep going"));
        QTRY_VERIFY(result.isTallying());
        QTRY_COMPARE(backend.server.heldCount(), 1); // the completion has arrived
        const QJsonObject score = backend.lastBodyTo("/api/quiz-scores");
        QCOMPARE(score["course_id"].toString(), QStringLiteral("c1"));
        QCOMPARE(score["score"].toInt(), 2);
        QCOMPARE(score["total_questions"].toInt(), 3);
        QCOMPARE(score["percentage"].toDouble(), 200.0 / 3);
        QCOMPARE(score["quiz_duration"].toInt(), 93);
        QCOMPARE(score["topic"].toString(), QStringLiteral("Cells"));
        QCOMPARE(score["question_type"].toString(), QStringLiteral("multiple_choice"));
        QCOMPARE(score["difficulty"].toString(), QStringLiteral("medium"));
        const QString attempt = score["attempt_id"].toString();
        QCOMPARE(attempt.size(), 36);
        QVERIFY(!QUuid::fromString(attempt).isNull());
        const QJsonObject completion = backend.lastBodyTo("/quiz/complete");
        QCOMPARE(completion["user_id"].toString(), QStringLiteral("user_1"));
        QCOMPARE(completion["attempt_id"].toString(), attempt);
        QCOMPARE(completion["questions_correct"].toInt(), 2);
        QCOMPARE(completion["quiz_score"].toDouble(), 200.0 / 3);
        QCOMPARE(completion["quiz_difficulty"].toString(), QStringLiteral("medium"));
        // The backend grades the answers of the quiz it generated.
        QCOMPARE(completion["quiz_id"].toString(), QStringLiteral("quiz_1"));
        QCOMPARE(completion["answers"].toArray(), (QJsonArray{"0", "3", "2"}));

        backend.server.releaseHeld();
        QTRY_VERIFY(!result.isTallying());
        QCOMPARE(result.xpText(), QStringLiteral("40 XP"));
        QCOMPARE(result.creditsText(), QStringLiteral("25 · silver"));
        QCOMPARE(result.multiplierLines(), QStringList{"× 2 streak"});
        QCOMPARE(result.achievementLines(), QStringList{"Achievement unlocked: First quiz"});
        QCOMPARE(result.achievementsTitle(), QString());
        QCOMPARE(result.noticeText(), QString());
        QCOMPARE(screen.preferences.integer(ReviewPrompt::completedQuizzesKey).value_or(0), 1);

        // The same questions again, unanswered, as a new attempt.
        screen.model.retake();
        QCOMPARE(screen.model.phase(), QuizModel::Phase::Running);
        QCOMPARE(runner.index(), 0);
        QCOMPARE(runner.count(), 3);
        QVERIFY(runner.answers().isEmpty());
        for (int i = 0; i < 3; ++i)
            runner.next();
        QCOMPARE(result.scoreLine(), QStringLiteral("0 out of 3 correct"));
        QTRY_COMPARE(backend.requestsTo("/api/quiz-scores").size(), 2);
        QVERIFY(backend.lastBodyTo("/api/quiz-scores")["attempt_id"].toString() != attempt);
        QTRY_COMPARE(backend.server.heldCount(), 1);
        QCOMPARE(backend.lastBodyTo("/quiz/complete")["answers"].toArray(), (QJsonArray{"", "", ""}));
        backend.server.releaseHeld();
        QTRY_COMPARE(screen.preferences.integer(ReviewPrompt::completedQuizzesKey).value_or(0), 2);
        QVERIFY(!screen.model.reviewPrompt()->isShown()); // 0 %

        // A new quiz with the same options asks for a fresh one rather than the cached quiz.
        screen.model.newQuiz();
        QCOMPARE(screen.model.phase(), QuizModel::Phase::Setup);
        screen.setup().generate();
        QTRY_COMPARE(screen.model.phase(), QuizModel::Phase::Running);
        QCOMPARE(backend.lastBodyTo("/quiz/generate")["force_regenerate"].toBool(), true);
    }

    // Failed reports are said in one notice and leave the score; without a user id the
    // completion is not sent at all.
    void failedReportsKeepTheScore() {
        Backend backend;
        backend.score = ScriptedResponse::json(404, "{}");
        backend.complete = ScriptedResponse::json(429, "{}");
        Screen screen(backend);
        QVERIFY(screen.startQuiz());
        screen.runner().choose(0);
        screen.runner().finish();
        QTRY_COMPARE(screen.result().noticeText(),
                     QStringLiteral("We couldn't save your score: the server couldn't find it. Rewards also "
                                    "couldn't be tallied: we're rate limited right now."));
        QCOMPARE(screen.result().scoreLine(), QStringLiteral("1 out of 3 correct"));
        QVERIFY(!screen.result().hasRewards());

        backend.score = ScriptedResponse::json(200, "{}");
        screen.userId.reset();
        screen.model.retake();
        screen.runner().finish();
        QTRY_COMPARE(
            screen.result().noticeText(),
            QStringLiteral("Score saved, but rewards couldn't be tallied: we couldn't read your user "
                           "id — sign out and back in."));
        QCOMPARE(backend.requestsTo("/quiz/complete").size(), 1);
    }

    // A good second quiz earns the rating card, which goes when the result does.
    void ratingCardAfterAGoodSecondQuiz() {
        Backend backend;
        Screen screen(backend);
        screen.preferences.setValue(ReviewPrompt::completedQuizzesKey, 1);
        QVERIFY(screen.startQuiz());
        for (int i = 0; i < 3; ++i) {
            screen.runner().choose(i);
            screen.runner().next();
        }
        QCOMPARE(screen.result().gradeText(), QStringLiteral("Great work"));
        QTRY_VERIFY(screen.model.reviewPrompt()->isShown());
        screen.model.newQuiz();
        QVERIFY(!screen.model.reviewPrompt()->isShown());
    }
};

QTEST_GUILESS_MAIN(QuizTest)
#include "tst_Quiz.moc"
