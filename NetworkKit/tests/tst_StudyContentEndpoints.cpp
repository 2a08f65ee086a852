// Flashcards, vocabulary, quizzes, study sessions, guided reading, mnemonics and the for-you feed,
// as they go over the wire.
#include "EndpointHarness.h"
#include "Flashcards/FlashcardsAPI.h"
#include "Flashcards/VocabularyAPI.h"
#include "ForYou/ForYouAPI.h"
#include "GuidedReading/GuidedReadingAPI.h"
#include "Mnemonics/MnemonicAPI.h"
#include "Quizzes/QuizAPI.h"
#include "StudySessions/StudySessionAPI.h"

using namespace std::chrono_literals;

class StudyContentEndpointsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void flashcardsAndTheirReviews() {
        EndpointHarness h;
        const FlashcardsAPI api(h.client());
        h.answer(QStringLiteral("flashcards.json"));
        const FlashcardListResponse all = h.await(api.flashcards());
        COMPARE_REQUEST(h.request(), "GET", "/api/study-content/flashcards", nullptr);
        QCOMPARE(EndpointHarness::reencoded(all), EndpointHarness::canonical(h.fixture("flashcards.json")));

        h.answer(QStringLiteral("due_flashcards.json"));
        const DueFlashcardsResponse due = h.await(api.dueFlashcards());
        COMPARE_REQUEST(h.request(), "GET", "/api/study-content/flashcards/due?limit=100", nullptr);
        QCOMPARE(EndpointHarness::reencoded(due),
                 EndpointHarness::canonical(h.fixture("due_flashcards.json")));

        h.answer(QStringLiteral("flashcard_review.json"));
        const FlashcardReviewResponse reviewed = h.await(api.review("fc_02", {4}));
        COMPARE_REQUEST(h.request(), "POST", "/api/study-content/flashcards/fc_02/review",
                        R"({"quality":4})");
        QCOMPARE(EndpointHarness::reencoded(reviewed),
                 EndpointHarness::canonical(h.fixture("flashcard_review.json")));

        h.answer(QStringLiteral("flashcard_review.json"));
        h.await(api.review("fc_02", {2, QStringLiteral("Active transport"), std::nullopt,
                                     QStringLiteral("Needs ATP"), QStringLiteral("user")}));
        COMPARE_REQUEST(
            h.request(), "POST", "/api/study-content/flashcards/fc_02/review",
            R"({"quality":2,"front":"Active transport","hint":"Needs ATP","hint_source":"user"})");

        // A vocabulary card's id holds its term, spaces and all.
        h.answer(QStringLiteral("flashcard_review.json"));
        h.await(api.review("vocab_plasma membrane", {3}));
        COMPARE_REQUEST(h.request(), "POST", "/api/study-content/flashcards/vocab_plasma%20membrane/review",
                        R"({"quality":3})");
    }

    void courseVocabulary() {
        EndpointHarness h;
        const VocabularyAPI api(h.client());
        h.answer(QStringLiteral("vocabulary.json"));
        const VocabularyResponse vocabulary = h.await(api.vocabulary("crs_bio201"));
        COMPARE_REQUEST(h.request(), "GET", "/api/courses/crs_bio201/vocabulary", nullptr);
        QCOMPARE(EndpointHarness::reencoded(vocabulary),
                 EndpointHarness::canonical(h.fixture("vocabulary.json")));

        const QByteArray started =
            R"({"status":"queued","job_id":"job_voc_2","message":"Vocabulary generation started"})";
        h.answerJson(started);
        const VocabularyGenerateResponse generating = h.await(api.generate("crs_bio201"));
        COMPARE_REQUEST(h.request(), "POST", "/api/courses/crs_bio201/vocabulary/generate", "{}");
        QCOMPARE(EndpointHarness::reencoded(generating), EndpointHarness::canonical(started));

        h.answer(QStringLiteral("vocabulary.json"));
        h.await(api.enrichSynonyms("crs_bio201"));
        COMPARE_REQUEST(h.request(), "POST", "/api/courses/crs_bio201/vocabulary/enrich-synonyms", "{}");
    }

    void quizCacheStatus() {
        EndpointHarness h;
        h.answer(QStringLiteral("quiz_cache_status.json"));
        const QuizCacheStatusResponse status =
            h.await(QuizAPI(h.client()).cacheStatus("crs_bio201", QuizQuestionType::trueFalse));
        COMPARE_REQUEST(h.request(), "GET",
                        "/api/courses/crs_bio201/quiz/cache-status?question_type=true_false", nullptr);
        QCOMPARE(EndpointHarness::reencoded(status),
                 EndpointHarness::canonical(h.fixture("quiz_cache_status.json")));
    }

    void generatingAQuizFollowsTheQueuedJob() {
        EndpointHarness h;
        h.answerJson(R"({"job_id":"job_quiz_5","status":"queued","job_type":"quiz_generation"})");
        h.answerJson(R"({"job_id":"job_quiz_5","user_id":"user_2k9XfQ","job_type":"quiz_generation",
                         "status":"processing","created_at":"2026-02-12T09:00:00Z"})");
        h.answerJson(R"({"job_id":"job_quiz_5","user_id":"user_2k9XfQ","job_type":"quiz_generation",
                         "status":"complete","created_at":"2026-02-12T09:00:00Z","completed_at":"2026-02-12T09:00:05Z",
                         "result":)" +
                     h.fixture("quiz.json") + "}");
        const GenerateQuizResponse quiz =
            h.await(QuizAPI(h.client())
                        .generate("crs_bio201", {std::nullopt, 10, QuizDifficulty::hard,
                                                 QuizQuestionType::multipleChoice, true}));

        COMPARE_REQUEST(h.request(0), "POST", "/api/courses/crs_bio201/quiz/generate",
                        R"({"num_questions":10,"difficulty":"hard","question_type":"multiple_choice",
                            "force_regenerate":true})");
        COMPARE_REQUEST(h.request(2), "GET", "/api/jobs/job_quiz_5", nullptr);
        QCOMPARE(h.waits, QList<async::Clock::Duration>{2s});
        QCOMPARE(quiz.title.value_or(QString()), QStringLiteral("Cell Membranes"));
        QCOMPARE(quiz.questions.size(), 3);
        QCOMPARE(quiz.questions[0].question, QStringLiteral("Which process moves water across a membrane?"));
        QCOMPARE(quiz.questions[0].correctAnswerIndex, 0);
        QCOMPARE(quiz.questions[1].correctAnswerStrings, QList<QString>{QStringLiteral("True")});
        QCOMPARE(quiz.questions[2].correctAnswerStrings.size(), 2);
        QCOMPARE(quiz.dailyGenerationsRemaining, 2);
    }

    void aQuizAnsweredAtOnceNeedsNoJob() {
        EndpointHarness h;
        h.answer(QStringLiteral("quiz.json"));
        const GenerateQuizResponse quiz =
            h.await(QuizAPI(h.client())
                        .generate("crs_bio201", {QStringLiteral("Osmosis"), 5, QuizDifficulty::easy,
                                                 QuizQuestionType::fillInBlank, false}));
        COMPARE_REQUEST(
            h.request(), "POST", "/api/courses/crs_bio201/quiz/generate",
            R"({"topic":"Osmosis","num_questions":5,"difficulty":"easy","question_type":"fill_in_blank",
                            "force_regenerate":false})");
        QCOMPARE(h.server.requestCount(), 1);
        QCOMPARE(quiz.questions.size(), 3);
    }

    void aCallOutlivesTheObjectItWasMadeOn() {
        EndpointHarness h;
        h.answerJson(R"({"job_id":"job_quiz_6","status":"queued","job_type":"quiz_generation"})");
        h.answerJson(R"({"job_id":"job_quiz_6","user_id":"user_2k9XfQ","job_type":"quiz_generation",
                         "status":"complete","created_at":"2026-02-12T09:00:00Z","result":)" +
                     h.fixture("quiz.json") + "}");
        async::Task<GenerateQuizResponse> call = [&h] {
            const QuizAPI api(h.client());
            return api.generate("crs_bio201",
                                {std::nullopt, 3, QuizDifficulty::easy, QuizQuestionType::trueFalse, false});
        }();
        QCOMPARE(h.await(std::move(call)).questions.size(), 3);
    }

    void reportingAFinishedQuiz() {
        EndpointHarness h;
        const QuizAPI api(h.client());
        const QByteArray saved =
            R"({"status":"saved","message":"Score recorded","score_id":"sc_301","updated_proficiency":0.72})";
        h.answerJson(saved);
        const SaveQuizScoreResponse score =
            h.await(api.saveScore({QStringLiteral("crs_bio201"), 8, 10, 80.0, QuizQuestionType::trueFalse,
                                   QuizDifficulty::medium, std::nullopt, 312, QStringLiteral("att_9")}));
        COMPARE_REQUEST(h.request(), "POST", "/api/quiz-scores",
                        R"({"course_id":"crs_bio201","score":8,"total_questions":10,"percentage":80,
                            "question_type":"true_false","difficulty":"medium","quiz_duration":312,"attempt_id":"att_9"})");
        QCOMPARE(EndpointHarness::reencoded(score), EndpointHarness::canonical(saved));

        h.answer(QStringLiteral("quiz_complete.json"));
        const QuizCompleteResponse completed = h.await(api.complete(
            {QStringLiteral("user_2k9XfQ"), 0.8, QStringLiteral("medium"), QStringLiteral("crs_bio201"), 10,
             8, QStringLiteral("att_9"), QStringLiteral("quiz_7"), QList<QString>{"0", ""}}));
        COMPARE_REQUEST(
            h.request(), "POST", "/api/gamification/quiz/complete",
            R"({"user_id":"user_2k9XfQ","quiz_score":0.8,"quiz_difficulty":"medium","course_id":"crs_bio201",
                            "total_questions":10,"questions_correct":8,"attempt_id":"att_9",
                            "quiz_id":"quiz_7","answers":["0",""]})");
        QCOMPARE(EndpointHarness::reencoded(completed),
                 EndpointHarness::canonical(h.fixture("quiz_complete.json")));
    }

    void studySessions() {
        EndpointHarness h;
        const StudySessionAPI api(h.client());
        h.answerJson(R"({"session_id":"ses_12"})");
        const StudySessionResponse started = h.await(api.start("user_2k9XfQ", QStringLiteral("crs_bio201")));
        COMPARE_REQUEST(
            h.request(), "POST", "/api/gamification/study/session/start",
            R"({"user_id":"user_2k9XfQ","course_id":"crs_bio201","verification_method":"built_in_timer"})");
        QCOMPARE(started.sessionId, QStringLiteral("ses_12"));

        h.answerJson(R"({"session_id":"ses_12","duration_minutes":25})");
        const StudySessionResponse ended =
            h.await(api.end({QStringLiteral("user_2k9XfQ"), started.sessionId, std::nullopt, 1490}));
        COMPARE_REQUEST(h.request(), "POST", "/api/gamification/study/session/end",
                        R"({"user_id":"user_2k9XfQ","session_id":"ses_12","active_seconds":1490})");
        QCOMPARE(ended.durationMinutes, 25);
    }

    void guidedReadingPlans() {
        EndpointHarness h;
        const GuidedReadingAPI api(h.client());
        h.answer(QStringLiteral("guided_reading_plan.json"));
        const GuidedReadingPlan plan =
            h.await(api.plan("crs_bio201", ReadingTemplateType::deepDive, QStringLiteral("doc_9f2c")));
        COMPARE_REQUEST(h.request(), "GET",
                        "/api/guided-reading/crs_bio201/plan?template_type=deep_dive&document_id=doc_9f2c",
                        nullptr);
        QCOMPARE(EndpointHarness::reencoded(plan),
                 EndpointHarness::canonical(h.fixture("guided_reading_plan.json")));

        h.answer(QStringLiteral("guided_reading_plan.json"));
        const GuidedReadingPlan fresh =
            h.await(api.regenerate("crs_bio201", ReadingTemplateType::quickReview, {}));
        COMPARE_REQUEST(h.request(), "POST",
                        "/api/guided-reading/crs_bio201/regenerate?template_type=quick_review", "{}");
        QCOMPARE(fresh.planId.value_or(QString()), QStringLiteral("plan_41"));
    }

    void generatingAMnemonic() {
        EndpointHarness h;
        MnemonicGenerationRequest request;
        request.mnemonicType = QStringLiteral("acronym");
        request.difficulty = QStringLiteral("medium");
        request.topic = QStringLiteral("Order of operations");
        request.courseId = QStringLiteral("crs_math100");
        request.store = true;
        h.answer(QStringLiteral("mnemonic.json"));
        const MnemonicResponse mnemonic = h.await(MnemonicAPI(h.client()).generate(request));
        COMPARE_REQUEST(h.request(), "POST", "/api/v1/learning-content/mnemonic",
                        R"({"mnemonic_type":"acronym","difficulty":"medium","topic":"Order of operations",
                            "course_id":"crs_math100","store":true})");
        QCOMPARE(EndpointHarness::reencoded(mnemonic),
                 EndpointHarness::canonical(h.fixture("mnemonic.json")));
    }

    void forYouFeedEventsAndLikes() {
        EndpointHarness h;
        const ForYouAPI api(h.client());
        h.answer(QStringLiteral("foryou_feed.json"));
        const ForYouFeedResponse feed = h.await(api.feed(ForYouAPI::homeLimit));
        COMPARE_REQUEST(h.request(), "GET", "/api/courses/foryou/feed?limit=10", nullptr);
        QCOMPARE(EndpointHarness::reencoded(feed), EndpointHarness::canonical(h.fixture("foryou_feed.json")));
        QVERIFY(!feed.items[1].likesCount);

        h.answer(QStringLiteral("foryou_feed.json"));
        h.await(api.feed(ForYouAPI::feedScreenLimit));
        COMPARE_REQUEST(h.request(), "GET", "/api/courses/foryou/feed?limit=20", nullptr);

        h.answerJson(R"({"event_id":"ev_901","event_type":"view"})");
        const ForYouEventResponse event = h.await(api.reportEvent(
            {QStringLiteral("card_1"), QStringLiteral("concept_osmosis"), QStringLiteral("view")}));
        COMPARE_REQUEST(h.request(), "POST", "/api/courses/foryou/events",
                        R"({"card_id":"card_1","concept_id":"concept_osmosis","event_type":"view"})");
        QCOMPARE(event.eventId.value_or(QString()), QStringLiteral("ev_901"));

        h.answer(QStringLiteral("card_like.json"));
        const CardLikeResponse like = h.await(api.like("card_1", "concept_osmosis"));
        COMPARE_REQUEST(h.request(), "POST",
                        "/api/courses/foryou/cards/card_1/like?concept_id=concept_osmosis", "{}");
        QCOMPARE(EndpointHarness::reencoded(like), EndpointHarness::canonical(h.fixture("card_like.json")));
    }
};

QTEST_GUILESS_MAIN(StudyContentEndpointsTest)
#include "tst_StudyContentEndpoints.moc"
