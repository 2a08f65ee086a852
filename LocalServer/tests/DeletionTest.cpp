#include "ServerContext.h"
#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTest>

// Deleting an account leaves no row that names it in any table; deleting a document removes
// its stored file, summary, jobs and narration audio, and nothing of the user's other documents.
class DeletionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString token;

    // "table.column" of every place in the database whose text contains `needle`.
    QStringList rowsNaming(const QString& needle) {
        Database& db = server->server().context().db;
        const auto columns =
            db.engine() == Database::Engine::PostgreSQL
                ? db.rows(
                      "SELECT c.relname AS name, a.attname AS field FROM pg_attribute a"
                      " JOIN pg_class c ON c.oid = a.attrelid JOIN pg_namespace n ON n.oid = c.relnamespace"
                      " WHERE n.nspname = current_schema() AND c.relkind = 'r' AND a.attnum > 0"
                      " AND NOT a.attisdropped ORDER BY c.oid, a.attnum")
                : db.rows("SELECT m.name AS name, c.name AS field FROM sqlite_master m, "
                          "pragma_table_info(m.name) c"
                          " WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite!_%' ESCAPE '!'");
        QString pattern = needle.toLower();
        pattern.replace('!', "!!").replace('%', "!%").replace('_', "!_");
        QStringList found;
        for (const QVariantMap& column : columns) {
            const QString name = column.value("name").toString();
            const QString field = column.value("field").toString();
            const QString sql =
                QStringLiteral(
                    "SELECT COUNT(*) AS n FROM \"%1\" WHERE lower(CAST(\"%2\" AS TEXT)) LIKE ? ESCAPE '!'")
                    .arg(name, field);
            if (db.row(sql, {'%' + pattern + '%'})->value("n").toInt() > 0)
                found.append(name + '.' + field);
        }
        return found;
    }

    QString upload(const QByteArray& text, const QString& filename) {
        const auto started = server->api(
            "POST", "/api/v2/uploads/document/initiate", token,
            {{"filename", filename}, {"file_size", int(text.size())}, {"content_type", "text/plain"}});
        const QString documentId = started.json().value("document_id").toString();
        server->send("PUT", started.json().value("presigned_url").toString(), text,
                     {{"Content-Type", "text/plain"}});
        const auto completed = server->api("POST", "/api/v2/uploads/document/complete", token,
                                           {{"document_id", documentId},
                                            {"s3_key", started.json().value("s3_key")},
                                            {"skip_syllabus_extraction", false}});
        server->waitForJob(completed.json().value("job_id").toString(), token);
        return documentId;
    }

    QJsonObject runJob(const QString& path, const QJsonObject& body = {}) {
        const QString jobId = server->api("POST", path, token, body).json().value("job_id").toString();
        return server->waitForJob(jobId, token);
    }

    QString file(const QString& relative) const { return QDir(server->dataDir()).filePath(relative); }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        device = server->signUp("gone@example.com", "password-1");
        token = server->sessionToken(device);
    }
    void cleanup() { server.reset(); }

    void accountDeletionLeavesNoRowOfTheUser() {
        const TestServer::Device kept = server->signUp("kept@example.com", "password-1");
        // A second factor, and a sign-in on another device that texts a code to the phone.
        server->send(
            "POST", "/__control/second-factor",
            QJsonDocument(QJsonObject{{"email", "gone@example.com"}, {"phone_number", "+15555550123"}})
                .toJson(),
            {{"Content-Type", "application/json"}});
        TestServer::Device other;
        const auto signIn =
            server->form("POST", "/v1/client/sign_ins",
                         {{"identifier", "Gone@Example.com"}, {"password", "password-1"}}, other);
        other.deviceToken = signIn.header("Authorization");
        const QString signInId = signIn.at("response.id").toString();
        QCOMPARE(signIn.at("response.status").toString(), "needs_second_factor");
        server->form("POST", "/v1/client/sign_ins/" + signInId + "/prepare_second_factor",
                     {{"strategy", "phone_code"}}, other);
        QCOMPARE(server->lastCodeSentTo("+15555550123").size(), 6);
        // Wrong guesses, counted by the account's id and phone number.
        server->form("POST", "/v1/client/sign_ins/" + signInId + "/attempt_second_factor",
                     {{"strategy", "phone_code"}, {"code", "wrong"}}, other);
        server->form("POST", "/v1/client/sign_ins",
                     {{"identifier", "gone@example.com"}, {"password", "wrong"}}, other);
        // Orbelo data of every kind.
        server->api("PUT", "/api/user/profile", token, {{"university_id", "tamu"}});
        server->api("PATCH", "/api/user/timezone", token, {{"timezone", "America/Chicago"}});
        server->api("POST", "/api/network/discoverability", token, {{"enabled", true}});
        const QString courseId = server->addCourse(token, "Doomed");
        QCOMPARE(runJob("/api/courses/" + courseId + "/vocabulary/generate").value("status").toString(),
                 "complete");
        const QString documentId =
            upload("Osmosis is the diffusion of water across a membrane. Cells use osmosis.", "notes.txt");
        runJob("/api/bookshelf/generate-summary", {{"course_id", ""}, {"document_id", documentId}});
        QJsonObject deck = server
                               ->api("POST", "/api/study-content/import/initiate/paste", token,
                                     {{"text", "osmosis\tdiffusion of water\n"}})
                               .json();
        deck.insert("include_flagged", false);
        QCOMPARE(server->api("POST", "/api/study-content/import/commit", token, deck).status, 200);
        QCOMPARE(server
                     ->api("POST", "/api/quiz-scores", token,
                           {{"course_id", courseId},
                            {"score", 3},
                            {"total_questions", 4},
                            {"percentage", 75},
                            {"question_type", "true_false"},
                            {"difficulty", "easy"},
                            {"attempt_id", "q1"}})
                     .status,
                 200);
        const QJsonObject quiz = server->issueQuiz(device, 4, 3, "easy", courseId);
        QCOMPARE(server
                     ->api("POST", "/api/gamification/quiz/complete", token,
                           {{"user_id", device.userId},
                            {"quiz_id", quiz.value("quiz_id")},
                            {"answers", quiz.value("answers")},
                            {"quiz_score", 75},
                            {"quiz_difficulty", "easy"},
                            {"attempt_id", "q1"}})
                     .status,
                 200);
        // A practice test of the course's notes: its cache and the day's generation count.
        const QString notesId =
            server->uploadDocument(token, "Mitosis is the division of a nucleus into two identical nuclei.",
                                   "mitosis.txt", "text/plain", courseId);
        server->waitForProcessing(notesId, token);
        QCOMPARE(server
                     ->api("POST", "/api/courses/" + courseId + "/quiz/generate", token,
                           {{"question_type", "true_false"}, {"difficulty", "easy"}, {"num_questions", 1}})
                     .status,
                 200);
        QCOMPARE(server
                     ->api("POST", "/api/gamification/study/session/start", token,
                           {{"user_id", device.userId}, {"verification_method", "built_in_timer"}})
                     .status,
                 200);
        QCOMPARE(server
                     ->api("POST", "/api/mobile/devices/register", token,
                           {{"device_token", QString(64, 'e')}, {"platform", "linux"}})
                     .status,
                 200);
        // A reward bought with credits.
        QCOMPARE(
            server
                ->send("POST", "/__control/credits",
                       QJsonDocument(QJsonObject{{"email", "gone@example.com"}, {"amount", 60}}).toJson(),
                       {{"Content-Type", "application/json"}})
                .status,
            200);
        QCOMPARE(server
                     ->api("POST", "/api/gamification/rewards/purchase", token,
                           {{"user_id", device.userId}, {"reward_id", "mnemonic_maker"}})
                     .status,
                 200);
        // A For You card the user skipped and liked.
        const QJsonObject card =
            server->api("GET", "/api/courses/foryou/feed?limit=1", token).json()["items"][0].toObject();
        QCOMPARE(server
                     ->api("POST", "/api/courses/foryou/events", token,
                           {{"card_id", card["card_id"]},
                            {"concept_id", card["concept_id"]},
                            {"event_type", "skipped"}})
                     .status,
                 200);
        QCOMPARE(
            server->api("POST", "/api/courses/foryou/cards/" + card["card_id"].toString() + "/like", token)
                .status,
            200);
        QVERIFY(!rowsNaming(device.userId).isEmpty());

        QCOMPARE(server->api("DELETE", "/api/user/account", token).status, 200);
        QCOMPARE(rowsNaming(device.userId), QStringList());
        QCOMPARE(rowsNaming("gone@example.com"), QStringList());
        QCOMPARE(rowsNaming("+15555550123"), QStringList());
        QCOMPARE(rowsNaming(documentId), QStringList());
        QVERIFY(!QFile::exists(file("storage/" + device.userId)));
        QVERIFY(!QFile::exists(file("media/" + device.userId)));
        // The other account keeps its user, session, sign-up and mail.
        QCOMPARE(rowsNaming(kept.userId), (QStringList{"users.id", "sessions.user_id", "attempts.state"}));
        QVERIFY(rowsNaming("kept@example.com").contains("mailbox.recipient"));
        QCOMPARE(server->api("GET", "/api/bootstrap", server->sessionToken(kept)).status, 200);
        // Both devices still answer, without the account's sessions and attempts.
        for (const TestServer::Device& gone : {device, other}) {
            const auto client = server->send("GET", "/v1/client", {}, {{"Authorization", gone.deviceToken}});
            QCOMPARE(client.status, 200);
            QCOMPARE(client.at("response.sessions").toArray().size(), 0);
            QVERIFY(client.at("response.sign_in").isNull());
        }
    }

    void documentDeletionRemovesItsFiles() {
        const QString doomed =
            upload("Diffusion is the movement of particles. Diffusion needs no energy.", "a.txt");
        const QString kept = upload("Osmosis is the diffusion of water. Osmosis moves water.", "b.txt");
        QCOMPARE(runJob("/api/bookshelf/generate-summary", {{"course_id", ""}, {"document_id", doomed}})
                     .value("status")
                     .toString(),
                 "complete");
        QCOMPARE(runJob("/api/tts/document/" + doomed).value("status").toString(), "complete");
        QCOMPARE(runJob("/api/tts/document/" + kept).value("status").toString(), "complete");
        const QString clip =
            server->api("POST", "/api/tts/speak", token, {{"text", "Hello."}}).json().value("url").toString();
        // A narration from before audio had a folder per document, and playlist entries that must
        // not reach outside the user's own audio.
        const QString user = device.userId;
        QDir().mkpath(file("media/someone-else"));
        for (const QString& name : QStringList{"media/" + user + "/narration-legacy.wav",
                                               "media/someone-else/x.wav", "outside.wav"}) {
            QFile audio(file(name));
            QVERIFY(audio.open(QIODevice::WriteOnly));
        }
        const QJsonArray segments{
            QJsonObject{{"url", server->url("/media/" + user + "/narration-legacy.wav")}},
            QJsonObject{{"url", server->url("/media/someone-else/x.wav")}},
            QJsonObject{{"url", server->url("/media/" + user + "/../../outside.wav")}},
            QJsonObject{{"url", "no media path"}}};
        QVERIFY(server->server().context().db.exec(
            "INSERT INTO jobs (id, user_id, job_type, status, input, subject_id, result, created_at) VALUES"
            " ('job_legacy', ?, 'narration', 'complete', ?, ?, ?, '2026-01-01T00:00:00.000Z')",
            {user,
             QString::fromUtf8(
                 QJsonDocument(QJsonObject{{"document_id", doomed}, {"voice", "en-us"}}).toJson()),
             doomed, QString::fromUtf8(QJsonDocument(QJsonObject{{"segments", segments}}).toJson())}));
        QVERIFY(QDir(file("media/" + user + '/' + doomed)).exists());
        QVERIFY(QDir(file("storage/" + user + '/' + doomed)).exists());

        QCOMPARE(server->api("DELETE", "/api/documents/" + doomed, token).status, 200);
        QCOMPARE(rowsNaming(doomed), QStringList());
        QVERIFY(!QFile::exists(file("storage/" + user + '/' + doomed)));
        QVERIFY(!QFile::exists(file("media/" + user + '/' + doomed)));
        QVERIFY(!QFile::exists(file("media/" + user + "/narration-legacy.wav")));
        QVERIFY(QFile::exists(file("media/someone-else/x.wav")));
        QVERIFY(QFile::exists(file("outside.wav")));
        // The other document and the read-aloud clip are untouched.
        QVERIFY(QDir(file("storage/" + user + '/' + kept)).exists());
        QVERIFY(QDir(file("media/" + user + '/' + kept)).exists());
        QCOMPARE(server->send("GET", clip).status, 200);
        QCOMPARE(server->api("DELETE", "/api/documents/" + doomed, token).status, 404);

        // A course made from a syllabus outlives the syllabus, without naming it.
        const QString syllabus =
            upload("BIO 110 General Biology\nSyllabus\nInstructor: Dr. Rosalind Franklin\n"
                   "Office Hours: Monday 2-4pm\nWeek 1: Cells\nWeek 2: Genetics\n",
                   "bio110.txt");
        QCOMPARE(rowsNaming(syllabus).count("courses.document_id"), 1);
        QCOMPARE(server->api("DELETE", "/api/documents/" + syllabus, token).status, 200);
        QCOMPARE(rowsNaming(syllabus), QStringList());
        QCOMPARE(server->server()
                     .context()
                     .db.row("SELECT COUNT(*) AS n FROM courses WHERE user_id = ?", {user})
                     ->value("n")
                     .toInt(),
                 1);
    }
};

QTEST_MAIN(DeletionTest)
#include "DeletionTest.moc"
