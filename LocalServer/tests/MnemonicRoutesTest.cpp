#include "Json.h"
#include "MnemonicHTMLParser.h"
#include "Mnemonics/MnemonicResponse.h"
#include "ServerContext.h"
#include "TestServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <memory>

namespace {

// Lecture notes with defined terms, as a student uploads them.
const QByteArray notes = R"(# Transport across the cell membrane

A membrane is a thin layer of lipids and proteins that separates the inside of a cell from its surroundings. Osmosis is the movement of water across a membrane from a dilute solution to a concentrated one. Plant roots take up water by osmosis.

Active transport refers to the pumping of molecules against their concentration gradient using energy from ATP. Nerve cells rely on active transport to keep their sodium low.

Glossary
Diffusion — the net spread of particles from where they are crowded to where they are sparse
Turgor pressure - the push of water in the central vacuole against the cell wall of a plant
)";

// The body the app sends.
QJsonObject request(const QString& type, const QJsonObject& fields = {}) {
    QJsonObject body{{"mnemonic_type", type}, {"difficulty", "medium"}, {"store", true}};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        body.insert(it.key(), it.value());
    return body;
}

// The answer decoded as the app decodes it; a failed decode fails the test.
MnemonicResponse decoded(const QJsonObject& record) {
    try {
        return json::fromValue<MnemonicResponse>(record);
    } catch (...) {
        QTest::qFail("The answer is not a MnemonicResponse", __FILE__, __LINE__);
        return {};
    }
}

} // namespace

// POST /api/v1/learning-content/mnemonic over HTTPS: guides from a document's terms or the key
// ideas sent, answered inline or as a queued job, stored on request, refused with 404, 409 and 422.
class MnemonicRoutesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    QString token;
    QString courseId;
    QString documentId;

    QString upload(const QByteArray& text, const QString& course) {
        const QString id = server->uploadDocument(token, text, "notes.txt", "text/plain", course);
        server->waitForProcessing(id, token);
        return id;
    }

    int storedCount(const QString& userColumnValue) {
        return server->server()
            .context()
            .db.row("SELECT COUNT(*) AS n FROM mnemonics WHERE user_id = ?", {userColumnValue})
            ->value("n")
            .toInt();
    }

    QString userId() { return server->api("GET", "/api/user/profile", token).json()["user_id"].toString(); }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        token = server->sessionToken(server->signUp("mnemonic@example.com", "memory-aid-1"));
        courseId = server->addCourse(token, "BIOL 110");
        documentId = upload(notes, courseId);
    }
    void cleanup() { server.reset(); }

    void aDocumentsTermsMakeAnInlineGuide() {
        const TestServer::Reply reply = server->api("POST", "/api/v1/learning-content/mnemonic", token,
                                                    request("acronym", {{"document_id", documentId}}));
        QCOMPARE(reply.status, 200);
        const MnemonicResponse response = decoded(reply.json());
        QVERIFY(response.success);
        QCOMPARE(response.type, "acronym");
        QCOMPARE(response.difficulty, "medium");
        QVERIFY(response.mnemonicId && response.mnemonicId->startsWith("mnem_"));
        QVERIFY(QDateTime::fromString(response.createdAt, Qt::ISODateWithMs).isValid());

        // Five of the document's terms, one card each, their initials the acronym's letters.
        const ParsedMnemonicGuide guide = MnemonicHTMLParser::parse(response.mnemonic);
        QVERIFY(guide.summary);
        const QString acronym = guide.cards.first().title.section(": ", 1);
        QCOMPARE(acronym.size(), 5);
        QVERIFY(response.explanation && response.explanation->startsWith(acronym + ": "));
        QString initials;
        for (qsizetype i = 1; i <= 5; ++i)
            initials += guide.cards[i].title.section(" is for ", 1).at(0).toUpper();
        QCOMPARE(initials, acronym);
        QVERIFY(response.mnemonic.contains("osmosis"));

        // Stored with the document, and removed with it.
        const auto row = server->server().context().db.row(
            "SELECT document_id, mnemonic_type, record FROM mnemonics WHERE id = ?", {*response.mnemonicId});
        QVERIFY(row);
        QCOMPARE(row->value("document_id").toString(), documentId);
        QCOMPARE(QJsonDocument::fromJson(row->value("record").toByteArray()).object(), reply.json());
        QCOMPARE(server->api("DELETE", "/api/documents/" + documentId, token).status, 200);
        QCOMPARE(storedCount(userId()), 0);
    }

    void keyIdeasAreTheTerms() {
        const TestServer::Reply reply = server->api(
            "POST", "/api/v1/learning-content/mnemonic", token,
            request("story",
                    {{"document_id", documentId},
                     {"store", false},
                     {"topic", "cell transport"},
                     {"key_ideas", "Ribosome: builds proteins from amino acids\nosmosis\nGolgi body"}}));
        QCOMPARE(reply.status, 200);
        const MnemonicResponse response = decoded(reply.json());
        QVERIFY(!response.mnemonicId);
        QCOMPARE(storedCount(userId()), 0);
        const ParsedMnemonicGuide guide = MnemonicHTMLParser::parse(response.mnemonic);
        QStringList scenes;
        QString text;
        for (const Card& card : guide.cards) {
            if (card.title.startsWith("Scene "))
                scenes.append(card.title.section(": ", 1));
            for (const CardBlock& block : card.blocks)
                text += block.text;
        }
        QCOMPARE(scenes, QStringList({"Ribosome", "osmosis", "Golgi body"}));
        // Meanings from the student, from the document's own definition, else the topic.
        QVERIFY(text.contains("builds proteins from amino acids"));
        QVERIFY(text.contains("the movement of water across a membrane"));
        QVERIFY(text.contains("Golgi body is a key idea of cell transport"));
        // Key ideas alone are enough.
        QCOMPARE(server
                     ->api("POST", "/api/v1/learning-content/mnemonic", token,
                           request("rhyme", {{"key_ideas", "supply, demand, price"}}))
                     .status,
                 200);
    }

    void refusals() {
        const QString path = "/api/v1/learning-content/mnemonic";
        const QString other = server->sessionToken(server->signUp("other@example.com", "memory-aid-2"));
        QCOMPARE(server->api("POST", path, other, request("acronym", {{"document_id", documentId}})).status,
                 404);
        QCOMPARE(server->api("POST", path, other, request("story", {{"course_id", courseId}})).status, 404);
        QCOMPARE(server->api("POST", path, token, request("acronym", {{"document_id", "doc_nope"}})).status,
                 404);

        QCOMPARE(server->api("POST", path, token, request("limerick", {{"document_id", documentId}})).status,
                 422);
        QJsonObject noStore = request("acronym", {{"document_id", documentId}});
        noStore.remove("store");
        QCOMPARE(server->api("POST", path, token, noStore).status, 422);
        QCOMPARE(server->api("POST", path, token, request("acronym", {{"document_id", 7}})).status, 422);
        const TestServer::Reply nothing = server->api("POST", path, token, request("acronym"));
        QCOMPARE(nothing.status, 422);
        QCOMPARE(nothing.json()["detail"].toString(), "Choose a document or a course, or give key ideas.");

        // A document that defines nothing has no terms to remember, unless key ideas are given.
        const QString plain = upload("We met on Tuesday and talked about the weather for a while.", courseId);
        const TestServer::Reply empty =
            server->api("POST", path, token, request("acrostic", {{"document_id", plain}}));
        QCOMPARE(empty.status, 422);
        QVERIFY(empty.json()["detail"].toString().startsWith("No key terms were found in this document."));
        QCOMPARE(
            server
                ->api("POST", path, token,
                      request("acrostic", {{"document_id", plain}, {"key_ideas", "weather: the sky's mood"}}))
                .status,
            200);
        QCOMPARE(
            server->api("POST", path, QString(), request("acronym", {{"document_id", documentId}})).status,
            401);
    }

    void aCoursesStoryIsAQueuedJob() {
        const TestServer::Reply reply = server->api("POST", "/api/v1/learning-content/mnemonic", token,
                                                    request("method_of_loci", {{"course_id", courseId}}));
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.json()["status"].toString(), "queued");
        QCOMPARE(reply.json()["job_type"].toString(), "mnemonic");
        const QJsonObject job = server->waitForJob(reply.json()["job_id"].toString(), token);
        QCOMPARE(job.value("status").toString(), "complete");
        const MnemonicResponse response = decoded(job.value("result").toObject());
        QCOMPARE(response.type, "method_of_loci");
        QVERIFY(MnemonicHTMLParser::parse(response.mnemonic).cards.first().title == "Your memory palace");
        QVERIFY(response.mnemonicId);
        const auto row = server->server().context().db.row("SELECT course_id FROM mnemonics WHERE id = ?",
                                                           {*response.mnemonicId});
        QVERIFY(row);
        QCOMPARE(row->value("course_id").toString(), courseId);

        // An acronym of the same course answers at once.
        QCOMPARE(server
                     ->api("POST", "/api/v1/learning-content/mnemonic", token,
                           request("acronym", {{"course_id", courseId}}))
                     .json()["type"]
                     .toString(),
                 "acronym");

        // A course without processed documents is refused before queuing; one without terms fails its job.
        const QString empty = server->addCourse(token, "HIST 100");
        QCOMPARE(server
                     ->api("POST", "/api/v1/learning-content/mnemonic", token,
                           request("story", {{"course_id", empty}}))
                     .status,
                 422);
        upload("We met on Tuesday and talked about the weather for a while.", empty);
        const QString failing = server
                                    ->api("POST", "/api/v1/learning-content/mnemonic", token,
                                          request("story", {{"course_id", empty}}))
                                    .json()["job_id"]
                                    .toString();
        const QJsonObject failed = server->waitForJob(failing, token);
        QCOMPARE(failed.value("status").toString(), "failed");
        QVERIFY(failed.value("error").toString().startsWith(
            "No key terms were found in this course's documents."));
    }

    void accountDeletionClearsStoredMnemonics() {
        const QString user = userId();
        QCOMPARE(server
                     ->api("POST", "/api/v1/learning-content/mnemonic", token,
                           request("rhyme", {{"key_ideas", "osmosis\ndiffusion"}}))
                     .status,
                 200);
        QCOMPARE(storedCount(user), 1);
        QCOMPARE(server->api("DELETE", "/api/user/account", token).status, 200);
        QCOMPARE(storedCount(user), 0);
    }
};

QTEST_MAIN(MnemonicRoutesTest)
#include "MnemonicRoutesTest.moc"
