#include "Flashcards/VocabularyJson.h"
#include "Terms/WordNet.h"
#include "TestServer.h"

#include <QJsonArray>
#include <QTest>
#include <memory>

namespace {

// Course notes as a student uploads them: prose with definitions, a glossary and bold terms.
const QByteArray cellNotes = R"(# Transport across the cell membrane

A cell is the smallest structural unit of all living organisms. Every cell is wrapped in a membrane. A membrane is a thin layer of lipids and proteins that separates the inside of a cell from its surroundings. Osmosis is the movement of water across a membrane from a dilute solution to a concentrated one. Plant roots take up water by osmosis. Without osmosis, red blood cells would shrink or swell.

Active transport refers to the pumping of molecules against their concentration gradient using energy from ATP. Nerve cells rely on active transport to keep their sodium low. The **sodium-potassium pump** moves three sodium ions out for every two potassium ions in.

Glossary
Diffusion — the net spread of particles from where they are crowded to where they are sparse
Turgor pressure - the push of water in the central vacuole against the cell wall of a plant

Diffusion needs no energy. Turgor pressure keeps a watered plant upright, and osmosis restores turgor pressure after rain.
)";

QJsonObject termNamed(const QJsonArray& terms, const QString& name) {
    for (const QJsonValue& term : terms)
        if (term.toObject().value("term").toString() == name)
            return term.toObject();
    return {};
}

} // namespace

// Course vocabulary: key terms found in the course's documents by a queued job, the study cards
// they make, and their synonyms from WordNet.
class VocabularyTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    QString token;

    void addNotes(const QString& courseId, const QByteArray& text) {
        const QString documentId = server->uploadDocument(token, text, "notes.txt", "text/plain", courseId);
        QCOMPARE(server->waitForProcessing(documentId, token).value("status").toString(), "complete");
    }

    QJsonObject generate(const QString& courseId) {
        const QJsonObject queued =
            server->api("POST", "/api/courses/" + courseId + "/vocabulary/generate", token).json();
        if (queued.value("status").toString() != "queued")
            return {};
        return server->waitForJob(queued.value("job_id").toString(), token);
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        token = server->sessionToken(server->signUp("glossary@example.com", "key-terms-1"));
    }
    void cleanup() { server.reset(); }

    void definedTermsComeWithDefinitionsAndContext() {
        const QString courseId = server->addCourse(token, "BIOL 110");
        addNotes(courseId, cellNotes);
        QCOMPARE(
            server->api("GET", "/api/courses/" + courseId + "/vocabulary", token).json()["status"].toString(),
            "not_generated");
        QCOMPARE(generate(courseId).value("status").toString(), "complete");

        const QJsonObject answer =
            server->api("GET", "/api/courses/" + courseId + "/vocabulary", token).json();
        QCOMPARE(answer.value("status").toString(), "complete");
        const QJsonArray terms = answer.value("vocabulary").toArray();
        QCOMPARE(answer.value("count").toInt(), terms.size());

        const QJsonObject osmosis = termNamed(terms, "osmosis");
        QCOMPARE(osmosis.value("definition").toString(),
                 "The movement of water across a membrane from a dilute solution to a concentrated one");
        QCOMPARE(osmosis.value("context").toString(), "Plant roots take up water by osmosis.");
        QCOMPARE(termNamed(terms, "active transport").value("definition").toString(),
                 "The pumping of molecules against their concentration gradient using energy from ATP");
        QCOMPARE(termNamed(terms, "active transport").value("context").toString(),
                 "Nerve cells rely on active transport to keep their sodium low.");
        QCOMPARE(termNamed(terms, "diffusion").value("definition").toString(),
                 "The net spread of particles from where they are crowded to where they are sparse");
        QCOMPARE(termNamed(terms, "diffusion").value("context").toString(), "Diffusion needs no energy.");
        QVERIFY(termNamed(terms, "turgor pressure")
                    .value("definition")
                    .toString()
                    .startsWith("The push of water"));
        QCOMPARE(termNamed(terms, "sodium-potassium pump").value("definition").toString(),
                 "The sodium-potassium pump moves three sodium ions out for every two potassium ions in");
        QVERIFY(
            termNamed(terms, "membrane").value("definition").toString().startsWith("A thin layer of lipids"));
        QCOMPARE(terms.first().toObject().value("importance").toString(), "high");

        // Each term is a study card with the app's id, due while new; the back shows the example.
        const QJsonArray due =
            server->api("GET", "/api/study-content/flashcards/due", token).json()["flashcards"].toArray();
        QCOMPARE(due.size(), terms.size());
        for (const QJsonValue& value : due) {
            const QJsonObject card = value.toObject();
            if (card.value("id").toString() != "vocab_osmosis")
                continue;
            QCOMPARE(card.value("front").toString(), "osmosis");
            QVERIFY(card.value("back").toString().endsWith(
                "\n\nIn context: Plant roots take up water by osmosis."));
            QCOMPARE(card.value("course_id").toString(), courseId);
        }

        // Generating again keeps a studied card's schedule.
        QCOMPARE(
            server->api("POST", "/api/study-content/flashcards/vocab_osmosis/review", token, {{"quality", 3}})
                .status,
            200);
        QCOMPARE(generate(courseId).value("status").toString(), "complete");
        QCOMPARE(server->api("GET", "/api/study-content/flashcards/due", token).json()["total"].toInt(),
                 terms.size() - 1);
    }

    void synonymsComeFromWordNet() {
        const QString courseId = server->addCourse(token, "BIOL 110");
        QCOMPARE(
            server->api("POST", "/api/courses/" + courseId + "/vocabulary/enrich-synonyms", token).status,
            409);
        addNotes(courseId, cellNotes);
        generate(courseId);
        const QJsonObject answer =
            server->api("POST", "/api/courses/" + courseId + "/vocabulary/enrich-synonyms", token).json();
        const QJsonArray terms = answer.value("vocabulary").toArray();

        const QJsonArray membrane = termNamed(terms, "membrane").value("synonyms").toArray();
        QVERIFY(!membrane.isEmpty());
        QCOMPARE(membrane.first().toObject().value("synonym").toString(), "tissue layer");
        QVERIFY(
            membrane.first().toObject().value("definition").toString().contains("pliable sheet of tissue"));
        QVERIFY(!termNamed(terms, "cell").value("related_terms").toArray().isEmpty());
        QVERIFY(termNamed(terms, "diffusion").value("synonyms").toArray().size() > 0);
        // Stored with the vocabulary, and carried to the card.
        QCOMPARE(server->api("GET", "/api/courses/" + courseId + "/vocabulary", token).json()["vocabulary"],
                 QJsonValue(terms));
        bool cardEnriched = false;
        for (const QJsonValue& card :
             server->api("GET", "/api/study-content/flashcards/due", token).json()["flashcards"].toArray())
            cardEnriched |= card.toObject().value("id").toString() == "vocab_membrane" &&
                            card.toObject().value("synonyms").toArray() == membrane;
        QVERIFY(cardEnriched);
    }

    void wordNetLookups() {
        QVERIFY(!WordNet::lookup("sodium-potassium pump"));
        const auto plural = WordNet::lookup("membranes");
        QVERIFY(plural);
        QCOMPARE(plural->synonyms.first().toObject().value("synonym").toString(), "tissue layer");
        const auto hot = WordNet::lookup("hot");
        QVERIFY(hot && hot->antonyms.contains(QJsonValue("cold")));
    }

    void recordsRankTheTermsAndKeepAMissingContextNull() {
        QList<KeyTermEngine::Term> terms;
        for (int i = 0; i <= VocabularyJson::highTerms + VocabularyJson::mediumTerms; ++i) {
            KeyTermEngine::Term term;
            term.term = "term " + QString::number(i);
            term.definition = "What term " + QString::number(i) + " means";
            term.context = i == 0 ? QString() : "Term " + QString::number(i) + " in use.";
            terms.append(term);
        }
        const QJsonArray records = VocabularyJson::records(terms);
        QCOMPARE(records.size(), terms.size());
        const auto importance = [&](int rank) {
            return records[rank].toObject().value("importance").toString();
        };
        QCOMPARE(importance(0), "high");
        QCOMPARE(importance(VocabularyJson::highTerms - 1), "high");
        QCOMPARE(importance(VocabularyJson::highTerms), "medium");
        QCOMPARE(importance(VocabularyJson::highTerms + VocabularyJson::mediumTerms - 1), "medium");
        QCOMPARE(importance(VocabularyJson::highTerms + VocabularyJson::mediumTerms), "low");
        QCOMPARE(records[1].toObject(), (QJsonObject{{"term", "term 1"},
                                                     {"definition", "What term 1 means"},
                                                     {"importance", "high"},
                                                     {"context", "Term 1 in use."}}));
        QVERIFY(records[0].toObject().value("context").isNull());
        QVERIFY(VocabularyJson::records({}).isEmpty());
    }

    void emptyAndForeignCourses() {
        const QString empty = server->addCourse(token, "HIST 100");
        const QJsonObject job = generate(empty);
        QCOMPARE(job.value("status").toString(), "complete");
        QCOMPARE(job.value("result").toObject().value("message").toString(),
                 "This course has no processed documents yet.");
        const QJsonObject answer = server->api("GET", "/api/courses/" + empty + "/vocabulary", token).json();
        QCOMPARE(answer.value("status").toString(), "complete");
        QCOMPARE(answer.value("count").toInt(), 0);

        QCOMPARE(server->api("GET", "/api/courses/course_nope/vocabulary", token).status, 404);
        const QString other = server->sessionToken(server->signUp("other@example.com", "key-terms-2"));
        QCOMPARE(server->api("POST", "/api/courses/" + empty + "/vocabulary/generate", other).status, 404);
        QCOMPARE(server->api("GET", "/api/courses/" + empty + "/vocabulary", other).status, 404);
    }
};

QTEST_MAIN(VocabularyTest)
#include "VocabularyTest.moc"
