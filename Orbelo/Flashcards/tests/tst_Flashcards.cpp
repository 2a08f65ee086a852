#include <QtTest>

#include "Flashcards/FlashcardDeckModel.h"
#include "Flashcards/FlashcardMessages.h"
#include "InMemoryPreferences.h"
#include "JobsAPI.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "Text/SentenceText.h"
#include "VirtualClock.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace std::chrono_literals;

namespace {

QByteArray card(const QString& id, const QString& front, const QString& back, const QJsonObject& extra = {}) {
    QJsonObject object = extra;
    object["id"] = id;
    object["front"] = front;
    object["back"] = back;
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray term(const QString& word, const QString& definition) {
    return QJsonDocument(QJsonObject{{"term", word}, {"definition", definition}})
        .toJson(QJsonDocument::Compact);
}

QByteArray job(const QString& status) {
    QJsonObject object{{"job_id", "job_v1"},
                       {"user_id", "u1"},
                       {"job_type", "vocabulary"},
                       {"status", status},
                       {"created_at", "2026-01-01T09:00:00Z"}};
    if (status == "complete")
        object["result"] = QJsonObject{{"count", 1}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// The backend on a scripted server: each endpoint answers with the status and body set here.
struct Backend {
    ScriptedHttpServer server;
    QByteArray courses =
        R"([{"course_id":"c1","course_name":"Biology","document_id":"syl1"},{"course_id":"c2"}])";
    QByteArrayList due;
    QByteArrayList all;
    QByteArrayList vocabulary;
    int vocabularyStatus = 200;
    QByteArray vocabularyError = "{}";
    int generateStatus = 200;
    QByteArray generateBody = R"({"status":"started"})";
    QByteArrayList jobAnswers;
    int enrichStatus = 200;
    QByteArrayList enriched;
    QList<int> reviewStatuses;
    bool holdDue = false;

    Backend() {
        server.setHandler([this](const RecordedRequest& r) { return answer(r); });
    }

    ScriptedResponse answer(const RecordedRequest& r) {
        const auto list = [](const char* key, const QByteArrayList& items) {
            const QByteArray count = QByteArray::number(items.size());
            return ScriptedResponse::json(200, QByteArray("{\"") + key + "\":[" + items.join(',') +
                                                   "],\"count\":" + count + ",\"total\":" + count + "}");
        };
        if (r.path == "/api/bootstrap")
            return ScriptedResponse::json(200, "{\"courses\":" + courses + ",\"documents\":[]}");
        if (r.target == "/api/study-content/flashcards/due?limit=100")
            return holdDue ? ScriptedResponse::held(list("flashcards", due)) : list("flashcards", due);
        if (r.path == "/api/study-content/flashcards")
            return list("flashcards", all);
        if (r.path.endsWith("/vocabulary"))
            return vocabularyStatus == 200 ? list("vocabulary", vocabulary)
                                           : ScriptedResponse::json(vocabularyStatus, vocabularyError);
        if (r.path.endsWith("/vocabulary/generate"))
            return ScriptedResponse::json(generateStatus, generateBody);
        if (r.path.startsWith("/api/jobs/"))
            return ScriptedResponse::json(200, jobAnswers.isEmpty() ? job("failed") : jobAnswers.takeFirst());
        if (r.path.endsWith("/vocabulary/enrich-synonyms"))
            return enrichStatus == 200 ? list("vocabulary", enriched)
                                       : ScriptedResponse::json(enrichStatus, "{}");
        if (r.path.endsWith("/review")) {
            const int status = reviewStatuses.isEmpty() ? 200 : reviewStatuses.takeFirst();
            return ScriptedResponse::json(status, R"({"status":"ok"})");
        }
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
};

QJsonObject jsonOf(const RecordedRequest& request) {
    return QJsonDocument::fromJson(request.body).object();
}

// A loaded model whose deck in `mode` has settled.
struct Screen {
    InMemoryPreferences preferences;
    FlashcardDeckModel model;

    explicit Screen(Backend& backend, FlashcardDeckModel::Mode mode = FlashcardDeckModel::Mode::dueSoon)
        : model(scriptedClient(backend.server), preferences) {
        model.setMode(int(mode));
        model.load();
    }
};

bool settled(const FlashcardDeckModel& model) {
    return !model.isLoading() && !model.isGenerating() && !model.courses().isEmpty();
}

QStringList fronts(const FlashcardDeckCursor& cursor) {
    QStringList texts;
    for (const Flashcard& card : cursor.cards())
        texts << card.front;
    return texts;
}

} // namespace

// The Cards tab against a scripted backend: the decks per mode and what an empty or failed one
// says, vocabulary and synonym generation, the review session and the notecard walk.
class FlashcardsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each mode loads its deck from its endpoints; "By course" keeps the cards of the course under
    // either of its ids and adds its vocabulary, leaving out blank terms.
    void decksPerMode() {
        Backend backend;
        backend.due = {card("f1", "Mitosis", "Cell division"), card("f2", "Meiosis", "Gamete division")};
        backend.all = {card("a1", "By course id", "x", {{"course_id", "c1"}}),
                       card("a2", "By syllabus", "x", {{"document_id", "syl1"}}),
                       card("a3", "Other course", "x", {{"course_id", "c2"}}), card("a4", "Loose", "x")};
        backend.vocabulary = {term("osmosis", "  Water crossing a membrane.\n"), term("blank", " \n "),
                              term("  ", "orphan definition")};
        Screen screen(backend);
        FlashcardDeckModel& model = screen.model;
        QTRY_VERIFY(settled(model));
        QCOMPARE(model.courses().at(0).toMap().value("label").toString(), QStringLiteral("Biology"));
        QCOMPARE(model.courses().at(1).toMap().value("label").toString(), QStringLiteral("Untitled course"));
        QCOMPARE(model.selectedCourseId(), QStringLiteral("c1"));
        QTRY_COMPARE(model.cardCount(), 2);
        QCOMPARE(model.deckTitle(), QStringLiteral("Due cards"));
        QVERIFY(model.canStart());

        model.setMode(int(FlashcardDeckModel::Mode::byCourse));
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.cardCount(), 3);
        QCOMPARE(model.deckTitle(), QStringLiteral("Biology"));
        model.start();
        QCOMPARE(fronts(*model.session()), QStringList({"By course id", "By syllabus", "osmosis"}));
        QCOMPARE(model.session()->cards().last().id, QStringLiteral("vocab_osmosis"));
        QCOMPARE(model.session()->cards().last().back, QStringLiteral("Water crossing a membrane."));
        model.exit();

        model.setMode(int(FlashcardDeckModel::Mode::vocabulary));
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.deckTitle(), QStringLiteral("Biology · Vocabulary"));
        model.start();
        QCOMPARE(model.phase(), FlashcardDeckModel::Phase::Walk);
        QCOMPARE(fronts(*model.walk()), QStringList{"osmosis"});
        QCOMPARE(backend.requestsTo("/api/courses/c1/vocabulary").size(), 2);
    }

    // Choosing another deck while one is loading drops the first: its late answer shows nowhere.
    void theLastChoiceWins() {
        Backend backend;
        backend.holdDue = true;
        backend.due = {card("f1", "Mitosis", "Cell division")};
        backend.vocabulary = {term("osmosis", "Water crossing a membrane."),
                              term("diffusion", "Spreading out.")};
        Screen screen(backend);
        QTRY_COMPARE(backend.server.heldCount(), 1);
        screen.model.setMode(int(FlashcardDeckModel::Mode::vocabulary));
        QTRY_COMPARE(screen.model.cardCount(), 2);
        QVERIFY(!screen.model.isLoading());
        backend.server.releaseHeld();
        QTRY_COMPARE(backend.server.clientAbortsWhileHeld(), 1);
        QCOMPARE(screen.model.deckTitle(), QStringLiteral("Biology · Vocabulary"));
        QCOMPARE(screen.model.cardCount(), 2);
    }

    // What an empty deck says: nothing due, no course to pick, the vocabulary's failure as a
    // sentence, or the start of its generation.
    void emptyDecks() {
        {
            Backend backend;
            Screen screen(backend);
            QTRY_VERIFY(settled(screen.model));
            QTRY_COMPARE(screen.model.statusText(),
                         QStringLiteral(
                             "No cards due right now. Try “By course” or create flashcards on the web app."));
            QVERIFY(!screen.model.canStart());
            screen.model.start();
            QCOMPARE(screen.model.phase(), FlashcardDeckModel::Phase::Setup);
        }
        {
            Backend backend;
            backend.courses = "[]";
            InMemoryPreferences preferences;
            FlashcardDeckModel model(scriptedClient(backend.server), preferences);
            model.setMode(int(FlashcardDeckModel::Mode::byCourse));
            model.load();
            QTRY_COMPARE(model.statusText(), QStringLiteral("Add a course from the Library tab first."));
            model.generateVocabulary();
            QCOMPARE(model.statusText(), QStringLiteral("Pick a course first."));
            QVERIFY(backend.requestsTo("/vocabulary").isEmpty());
        }
        const QList<std::tuple<int, QByteArray, QString>> failures{
            {500, R"({"detail":"Vocabulary store is down"})", "Vocabulary store is down."},
            {503, R"({"detail":"Try later!"})", "Try later!"},
            {429, "{}", "we're rate limited right now."},
            {404, "{}", "the server couldn't find it."}};
        for (const auto& [status, body, phrase] : failures) {
            Backend backend;
            backend.vocabularyStatus = status;
            backend.vocabularyError = body;
            Screen screen(backend, FlashcardDeckModel::Mode::byCourse);
            QTRY_COMPARE(screen.model.statusText(),
                         QStringLiteral("Couldn't load this course's vocabulary: ") + phrase);
            QVERIFY(backend.requestsTo("/generate").isEmpty());
        }
        {
            Backend backend;
            Screen screen(backend, FlashcardDeckModel::Mode::byCourse);
            QTRY_COMPARE(
                screen.model.statusText(),
                QStringLiteral("No flashcards or vocabulary for this course yet. We've started preparing "
                               "it — check back in a minute."));
            const QList<RecordedRequest> generate = backend.requestsTo("/generate");
            QCOMPARE(generate.size(), 1);
            QCOMPARE(generate.at(0).method, QByteArray("POST"));
            QCOMPARE(generate.at(0).path, QByteArray("/api/courses/c1/vocabulary/generate"));
            QCOMPARE(jsonOf(generate.at(0)), QJsonObject());
        }
    }

    // The generate button's outcomes, its busy label, and the signed-out case.
    void vocabularyGenerationOutcomes() {
        const QList<std::pair<int, QString>> outcomes{
            {404, "We couldn't find this course on the server. Try reopening it from the Library tab."},
            {429, "We're already preparing a lot of content for you. Try again in a few minutes."},
            {500, "Couldn't start vocabulary generation: Quota exceeded."}};
        for (const auto& [status, text] : outcomes) {
            Backend backend;
            backend.vocabulary = {term("osmosis", "Water crossing a membrane.")};
            backend.generateStatus = status;
            backend.generateBody = R"({"message":"Quota exceeded"})";
            Screen screen(backend, FlashcardDeckModel::Mode::vocabulary);
            QTRY_VERIFY(settled(screen.model));
            screen.model.generateVocabulary();
            QVERIFY(screen.model.isGenerating());
            QCOMPARE(screen.model.generateLabel(), QStringLiteral("Starting…"));
            QTRY_COMPARE(screen.model.statusText(), text);
            QVERIFY(!screen.model.isGenerating());
            QCOMPARE(screen.model.generateLabel(), QStringLiteral("Generate vocabulary"));
            QCOMPARE(screen.model.cardCount(), 1); // a failure keeps the deck
        }
        // Signed out, every request fails before it is sent.
        QCOMPARE(FlashcardMessages::generationFailed(std::make_exception_ptr(APIError::unauthorized())),
                 QStringLiteral("Sign in to generate vocabulary for this course."));
        QCOMPARE(FlashcardMessages::vocabularyLoadFailed(std::make_exception_ptr(APIError::unauthorized())),
                 QStringLiteral("Couldn't load this course's vocabulary: you're signed out."));
    }

    // A queued generation is followed through /api/jobs on the clock; when it is done the deck
    // loads once more and shows the new vocabulary, without asking for another generation.
    void queuedGenerationLoadsTheNewVocabulary() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.generateBody = R"({"status":"queued","job_id":"job_v1"})";
        backend.jobAnswers = {job("processing"), job("complete")};
        Screen screen(backend, FlashcardDeckModel::Mode::vocabulary);
        QTRY_COMPARE(
            screen.model.statusText(),
            QStringLiteral("No vocabulary for this course yet. We've started preparing it — check back in "
                           "a minute."));
        QTRY_COMPARE(backend.requestsTo("/api/jobs/job_v1").size(), 1);
        backend.vocabulary = {term("osmosis", "Water crossing a membrane.")};
        QTRY_COMPARE(clock.nextTimerIn(), std::chrono::milliseconds(JobsAPI::pollInterval));
        clock.advance(JobsAPI::pollInterval);
        QTRY_COMPARE(screen.model.cardCount(), 1);
        QCOMPARE(screen.model.statusText(), QString());
        QCOMPARE(backend.requestsTo("/api/jobs/job_v1").size(), 2);
        QCOMPARE(backend.requestsTo("/generate").size(), 1);
    }

    // Generated synonyms reach the open deck by term; a failure says so and keeps the cards.
    void synonymsMergeIntoTheOpenDeck() {
        Backend backend;
        backend.vocabulary = {term("osmosis", "Water crossing a membrane."),
                              term("diffusion", "Spreading out.")};
        backend.enriched = {R"({"term":"osmosis","definition":"d","synonyms":[{"synonym":"permeation"}],)"
                            R"("antonyms":["blockage","sealing"],"related_terms":["turgor"]})"};
        Screen screen(backend, FlashcardDeckModel::Mode::vocabulary);
        FlashcardDeckModel& model = screen.model;
        QTRY_COMPARE(model.cardCount(), 2);
        model.start();
        FlashcardWalk* walk = model.walk();
        QVERIFY(!walk->card().value("hasSynonyms").toBool());
        walk->toggleSynonyms(); // nothing to show yet
        QVERIFY(!walk->areSynonymsShown());

        model.generateSynonyms();
        QCOMPARE(model.synonymsLabel(), QStringLiteral("Generating…"));
        QTRY_VERIFY(!model.isGeneratingSynonyms());
        QCOMPARE(model.synonymsLabel(), QStringLiteral("Generate synonyms"));
        const QVariantMap first = walk->card();
        QCOMPARE(first.value("synonyms").toStringList(), QStringList{"permeation"});
        QCOMPARE(first.value("antonymsLine").toString(), QStringLiteral("Antonyms: blockage, sealing"));
        QCOMPARE(first.value("relatedLine").toString(), QStringLiteral("Related: turgor"));
        walk->toggleSynonyms();
        QVERIFY(walk->areSynonymsShown());
        walk->next();
        QVERIFY(!walk->card().value("hasSynonyms").toBool());
        QCOMPARE(backend.requestsTo("/api/courses/c1/vocabulary/enrich-synonyms").size(), 1);

        backend.enrichStatus = 500;
        model.generateSynonyms();
        QTRY_COMPARE(model.synonymsError(), QStringLiteral("Couldn't generate synonyms. Please try again."));
        QVERIFY(!model.isGeneratingSynonyms());
        QCOMPARE(walk->count(), 2);
    }

    // A rating sends the card without its "In context:" example; a failed one keeps the card with
    // the error; rating the last card ends the session, and Back reloads the due cards.
    void reviewSession() {
        Backend backend;
        backend.due = {card("f1", "Osmosis", "Water crossing a membrane.\n in CONTEXT: Roots take up water.",
                            {{"hint", "Think of roots"}, {"hint_source", "mnemonic"}}),
                       card("f2", "Mitosis", "Cell division")};
        backend.reviewStatuses = {200, 500, 200};
        Screen screen(backend);
        FlashcardDeckModel& model = screen.model;
        QTRY_COMPARE(model.cardCount(), 2);
        model.start();
        FlashcardReviewSession* session = model.session();
        QCOMPARE(model.phase(), FlashcardDeckModel::Phase::Review);
        QCOMPARE(session->card().value("hintFromMnemonic").toBool(), true);
        QSignalSpy stops(session, &FlashcardReviewSession::stopReadingAloud);

        session->rate(2);
        QVERIFY(session->isReviewing());
        session->rate(3); // ignored while one is in flight
        QTRY_COMPARE(session->index(), 1);
        QVERIFY(!session->isReviewing());
        QCOMPARE(stops.size(), 1);
        QList<RecordedRequest> reviews = backend.requestsTo("/review");
        QCOMPARE(reviews.size(), 1);
        QCOMPARE(reviews.at(0).path, QByteArray("/api/study-content/flashcards/f1/review"));
        QCOMPARE(jsonOf(reviews.at(0)), (QJsonObject{{"quality", 2},
                                                     {"front", "Osmosis"},
                                                     {"back", "Water crossing a membrane."},
                                                     {"hint", "Think of roots"},
                                                     {"hint_source", "mnemonic"}}));

        session->flip();
        session->rate(0);
        QTRY_VERIFY(!session->errorMessage().isEmpty());
        QVERIFY(!session->isReviewing());
        QCOMPARE(session->index(), 1);
        QVERIFY(session->isFlipped()); // the same card, as it was
        QCOMPARE(model.phase(), FlashcardDeckModel::Phase::Review);

        session->rate(3);
        QTRY_COMPARE(model.phase(), FlashcardDeckModel::Phase::Complete);
        QCOMPARE(session->index(), 1);
        QCOMPARE(session->errorMessage(), QString());
        reviews = backend.requestsTo("/review");
        QCOMPARE(jsonOf(reviews.last()),
                 (QJsonObject{{"quality", 3}, {"front", "Mitosis"}, {"back", "Cell division"}}));

        const qsizetype dueLoads = backend.requestsTo("/due").size();
        model.back();
        QCOMPARE(model.phase(), FlashcardDeckModel::Phase::Setup);
        QTRY_COMPARE(backend.requestsTo("/due").size(), dueLoads + 1);
    }

    // The side that opens a card follows the stored preference, on by default.
    void promptWithBackToggle() {
        Backend backend;
        backend.due = {card("f1", "Osmosis", "Water crossing a membrane.")};
        Screen screen(backend);
        QTRY_COMPARE(screen.model.cardCount(), 1);
        screen.model.start();
        FlashcardReviewSession* session = screen.model.session();
        QVERIFY(session->promptWithBack());
        QCOMPARE(session->promptToggleLabel(), QStringLiteral("Study definition first"));
        QCOMPARE(session->shownText(), QStringLiteral("Water crossing a membrane."));
        QCOMPARE(session->shownSide(), QStringLiteral("Answer"));
        session->flip();
        QCOMPARE(session->shownText(), QStringLiteral("Osmosis"));

        session->setPromptWithBack(false);
        QCOMPARE(screen.preferences.value(FlashcardReviewSession::promptWithBackKey), QVariant(false));
        QCOMPARE(session->promptToggleLabel(), QStringLiteral("Study term first"));
        QCOMPARE(session->promptToggleHint(),
                 QStringLiteral("You'll see the term first, then flip for the definition."));
        QCOMPARE(session->shownText(), QStringLiteral("Water crossing a membrane.")); // still flipped
        session->flip();
        QCOMPARE(session->shownText(), QStringLiteral("Osmosis"));
        QCOMPARE(session->bothSidesText(), QStringLiteral("Osmosis\n\nWater crossing a membrane."));
    }

    // The walk is bounded to its deck, swipes need 50 points of mostly horizontal drag (both at
    // their edge), and the main button finishes on the last card.
    void notecardWalk() {
        FlashcardWalk walk;
        QSignalSpy finished(&walk, &FlashcardWalk::finished);
        walk.startWith({QVariantMap{{"front", "Osmosis"}, {"back", "Water"}},
                        QVariantMap{{"front", " "}, {"back", "x"}},
                        QVariantMap{{"front", "Mitosis"}, {"back", "Division"}}});
        QCOMPARE(walk.count(), 2);
        QCOMPARE(walk.card().value("frontName").toString(), QStringLiteral("Term"));
        walk.previous();
        QCOMPARE(walk.index(), 0);
        walk.swipe(-49, 0);
        walk.swipe(-80, 80);
        QCOMPARE(walk.index(), 0);
        QCOMPARE(walk.mainButtonText(), QStringLiteral("Next card"));
        walk.flip();
        walk.swipe(-50, 49);
        QCOMPARE(walk.index(), 1);
        QVERIFY(!walk.isFlipped());
        QCOMPARE(walk.mainButtonText(), QStringLiteral("Finish"));
        QCOMPARE(walk.mainButtonDescription(), QStringLiteral("Finishes this vocabulary deck."));
        walk.next();
        QCOMPARE(walk.index(), 1);
        walk.advance();
        QCOMPARE(finished.size(), 1);
        walk.swipe(60, -10);
        QCOMPARE(walk.index(), 0);

        // An empty deck has no card to show or turn; its button finishes.
        walk.startWith({});
        QVERIFY(walk.card().isEmpty());
        walk.flip();
        QVERIFY(!walk.isFlipped());
        walk.advance();
        QCOMPARE(finished.size(), 2);
    }

    void textRules() {
        QCOMPARE(SentenceText::completed(" ok \n"), QStringLiteral("ok."));
        for (const char* done : {"Done.", "Done!", "Done?", "Done…"})
            QCOMPARE(SentenceText::completed(QString::fromUtf8(done)), QString::fromUtf8(done));
        QCOMPARE(FlashcardMessages::cardsAdded(1), QStringLiteral("Added 1 card to your deck."));
        QCOMPARE(FlashcardMessages::cardsAdded(0), QStringLiteral("Added 0 cards to your deck."));
        QCOMPARE(FlashcardMessages::cardsAdded(12), QStringLiteral("Added 12 cards to your deck."));
        QCOMPARE(FlashcardReviewSession::withoutContext("Term in context: a sentence"),
                 QStringLiteral("Term"));
        QCOMPARE(FlashcardReviewSession::withoutContext(" Plain back \n"), QStringLiteral(" Plain back \n"));
    }

    // An import names what it added and moves the deck to the course the cards went to: a due
    // deck becomes that course's deck, and another course's deck changes course.
    void importFinished() {
        Backend backend;
        backend.due = {card("f1", "Osmosis", "Water")};
        Screen screen(backend);
        QTRY_COMPARE(screen.model.cardCount(), 1);
        QCOMPARE(screen.model.selectedCourseId(), QStringLiteral("c1"));
        backend.all = {card("n1", "Imported", "card", {{"course_id", "c2"}}),
                       card("n2", "Older", "card", {{"course_id", "c1"}})};
        QSignalSpy selected(&screen.model, &FlashcardDeckModel::selectedCourseChanged);
        screen.model.importFinished(1, "c2");
        QCOMPARE(screen.model.noticeText(), QStringLiteral("Added 1 card to your deck."));
        QCOMPARE(screen.model.mode(), int(FlashcardDeckModel::Mode::byCourse));
        QCOMPARE(screen.model.selectedCourseId(), QStringLiteral("c2"));
        QCOMPARE(selected.size(), 1);
        QTRY_VERIFY(!screen.model.isLoading());
        QCOMPARE(screen.model.cardCount(), 1);
        QCOMPARE(backend.requestsTo("/api/bootstrap").size(), 1);

        // Into the course already shown: the same course, its deck again.
        backend.all << card("n3", "Another", "card", {{"course_id", "c2"}});
        screen.model.importFinished(1, "c2");
        QCOMPARE(selected.size(), 1);
        QTRY_COMPARE(screen.model.cardCount(), 2);
    }

    // A course made since the list loaded: the courses load again, keeping the notice, and the
    // deck shows the new course.
    void importIntoANewCourse() {
        Backend backend;
        backend.all = {card("n1", "Biology card", "back", {{"course_id", "c1"}})};
        Screen screen(backend, FlashcardDeckModel::Mode::byCourse);
        QTRY_VERIFY(settled(screen.model));
        QCOMPARE(screen.model.deckTitle(), QStringLiteral("Biology"));
        backend.courses =
            R"([{"course_id":"c1","course_name":"Biology"},{"course_id":"c3","course_name":"History"}])";
        backend.all << card("n2", "Imported", "card", {{"course_id", "c3"}})
                    << card("n3", "Imported too", "card", {{"course_id", "c3"}});
        screen.model.importFinished(2, "c3");
        QTRY_COMPARE(backend.requestsTo("/api/bootstrap").size(), 2);
        QTRY_VERIFY(settled(screen.model));
        QCOMPARE(screen.model.selectedCourseId(), QStringLiteral("c3"));
        QCOMPARE(screen.model.deckTitle(), QStringLiteral("History"));
        QCOMPARE(screen.model.cardCount(), 2);
        QCOMPARE(screen.model.noticeText(), QStringLiteral("Added 2 cards to your deck."));
    }
};

QTEST_MAIN(FlashcardsTest)
#include "tst_Flashcards.moc"
