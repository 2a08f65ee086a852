#include "ViewTest.h"

#include "FakeUrlOpener.h"
#include "InMemoryPreferences.h"
#include "Quiz/QuizModel.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"

namespace {

// A Quiz tab on the given backend, signed in as "u1".
struct QuizFixture {
    InMemoryPreferences preferences;
    FakeUrlOpener opener;
    QuizModel model;

    explicit QuizFixture(APIClient client)
        : model(
              std::move(client), preferences, opener, [] { return std::optional<QString>("u1"); }, "1.0") {}

    static QList<QuizQuestion> questions() {
        QuizQuestion first;
        first.question = "Which organelle makes ATP?";
        first.options = {"Ribosome", "Mitochondrion"};
        first.correctAnswerIndex = 1;
        QuizQuestion second = first;
        second.question = "Which organelle makes proteins?";
        second.correctAnswerIndex = 0;
        return {first, second};
    }
};

} // namespace

// The Quiz screens load without QML errors, and what a user reaches them by is there.
class QuizViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // The Quiz tab: without a backend the courses' failure line and its retry show.
    void quizScreen() {
        std::unique_ptr<QQuickItem> view = load("QuizScreen.qml");
        QVERIFY(view);
        QTRY_COMPARE(itemsNamed(view.get(), "Try again").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "Refresh").size(), 1);
    }

    // The setup's controls under their names; Escape stops a generation in progress.
    void quizSetup() {
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest& r) {
            if (r.path == "/api/bootstrap")
                return ScriptedResponse::json(
                    200, R"({"courses":[{"course_id":"c1","course_name":"Biology"}],"documents":[]})");
            if (r.path.endsWith("/generate"))
                return ScriptedResponse::held(ScriptedResponse::json(200, R"({"questions":[]})"));
            return ScriptedResponse::json(200,
                                          R"({"has_cached_quiz":true,"can_regenerate":true,)"
                                          R"("daily_generations_used":1,"daily_generations_remaining":4,)"
                                          R"("max_daily_generations":5})");
        });
        QuizFixture quiz(scriptedClient(server));
        quiz.model.load();
        QQuickWindow window;
        window.resize(1000, 700);
        std::unique_ptr<QQuickItem> view =
            load("QuizSetupView.qml", {{"model", QVariant::fromValue(quiz.model.setup())}});
        QVERIFY(view);
        view->setParentItem(window.contentItem());
        view->forceActiveFocus();
        QTRY_COMPARE(itemsNamed(view.get(), "Start Practice Test").size(), 1);
        for (const char* name : {"Practice Test", "Refresh", "Course", "Question type", "Questions: 10",
                                 "Difficulty", "Topic (optional)"})
            QVERIFY2(itemsNamed(view.get(), QString::fromUtf8(name)).size() == 1, name);
        QTRY_COMPARE(itemsNamed(view.get(), "4 of 5 generations left today").size(), 1);
        press(view.get(), "Start Practice Test");
        QVERIFY(quiz.model.setup()->isGenerating());
        QCOMPARE(itemsNamed(view.get(), "Cancel").size(), 1);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!quiz.model.setup()->isGenerating());
    }

    // The runner: options by number or letter, Enter moves on, and Ctrl+Enter finishes; a fill-in
    // question takes the focus into its field.
    void quizRunner() {
        QuizFixture quiz(
            scriptedClient(QUrl("http://127.0.0.1:" + QString::number(ScriptedHttpServer::closedPort()))));
        QuizRunner& runner = *quiz.model.runner();
        runner.start(quiz.questions(), QuizQuestionType::multipleChoice, QuizDifficulty::easy);
        QQuickWindow window;
        window.resize(1000, 700);
        std::unique_ptr<QQuickItem> view =
            load("QuizRunnerView.qml", {{"runner", QVariant::fromValue(&runner)}});
        QVERIFY(view);
        view->setParentItem(window.contentItem());
        view->forceActiveFocus();
        for (const char* name : {"Question 1 of 2", "Easy difficulty", "Which organelle makes ATP?",
                                 "Ribosome", "Mitochondrion", "Previous", "Next", "Cancel"})
            QVERIFY2(itemsNamed(view.get(), name).size() >= 1, name);
        QTest::keyClick(&window, Qt::Key_2);
        QCOMPARE(runner.chosenOption(), 1);
        QTest::keyClick(&window, Qt::Key_A);
        QCOMPARE(runner.chosenOption(), 0);
        QTest::keyClick(&window, Qt::Key_Return);
        QCOMPARE(runner.index(), 1);
        QCOMPARE(itemsNamed(view.get(), "Finish quiz").size(), 1);

        runner.start(quiz.questions(), QuizQuestionType::fillInBlank, QuizDifficulty::easy);
        auto* field = qobject_cast<QQuickItem*>(window.activeFocusItem());
        QVERIFY(field);
        QCOMPARE(itemsNamed(view.get(), "Type your answer"), QList<QQuickItem*>{field});
        for (char c : {'a', 't', 'p'})
            QTest::keyClick(&window, c);
        QCOMPARE(runner.answer(), QStringLiteral("atp"));
        QSignalSpy finished(&runner, &QuizRunner::finished);
        QTest::keyClick(&window, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(finished.size(), 1);
    }

    // The result: the ring read as its spoken label, the notice when reporting fails, the way on
    // and, after a good second quiz, the rating card.
    void quizResult() {
        QuizFixture quiz(
            scriptedClient(QUrl("http://127.0.0.1:" + QString::number(ScriptedHttpServer::closedPort()))));
        GenerateQuizRequest request;
        quiz.model.result()->show("c1", "quiz_1", request, quiz.questions(), {{0, "1"}, {1, "1"}}, 30,
                                  "attempt");
        quiz.preferences.setValue(ReviewPrompt::completedQuizzesKey, 1);
        quiz.model.reviewPrompt()->quizCompleted(true, 100);
        std::unique_ptr<QQuickItem> view =
            load("QuizResultView.qml", {{"result", QVariant::fromValue(quiz.model.result())},
                                        {"reviewPrompt", QVariant::fromValue(quiz.model.reviewPrompt())}});
        QVERIFY(view);
        for (const char* name : {"Score: 50 percent. Review needed", "1 out of 2 correct", "Retake same quiz",
                                 "Generate new quiz", "Enjoying Orbelo?", "Rate Orbelo", "Not now"})
            QVERIFY2(itemsNamed(view.get(), name).size() >= 1, name);
        QTRY_VERIFY(!quiz.model.result()->noticeText().isEmpty());
        QCOMPARE(itemsNamed(view.get(), quiz.model.result()->noticeText()).size(), 1);
        press(view.get(), "Rate Orbelo");
        QCOMPARE(quiz.opener.opened.size(), 1);
        QVERIFY(itemsNamed(view.get(), "Enjoying Orbelo?").isEmpty());
    }
};

QTEST_MAIN(QuizViewsTest)
#include "tst_QuizViews.moc"
