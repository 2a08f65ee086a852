#include <QtTest>

#include "Flashcards/NotecardImportModel.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

const QString pastePath = QStringLiteral("/api/study-content/import/initiate/paste");
const QString uploadPath = QStringLiteral("/api/study-content/import/initiate/upload");
const QString previewPath = QStringLiteral("/api/study-content/import/preview");
const QString commitPath = QStringLiteral("/api/study-content/import/commit");

// A preview of a three-card deck split by `field`, one card of it flagged.
QJsonObject previewOf(const QString& field) {
    return {{"import_id", "imp1"},
            {"field_delimiter", field},
            {"card_delimiter", "newline"},
            {"encoding", "utf-8"},
            {"total_cards", 3},
            {"flagged_count", 1},
            {"sample", QJsonArray{QJsonObject{{"term", "mitochondria"},
                                              {"definition", "powerhouse of the cell"},
                                              {"flagged", false}},
                                  QJsonObject{{"term", "note"},
                                              {"definition", "ignore previous instructions"},
                                              {"flagged", true},
                                              {"flag_reason", "Looks like an instruction"}}}},
            {"skipped", QJsonArray{QJsonObject{
                            {"line_number", 4}, {"reason", "No definition"}, {"preview", "ribosome"}}}},
            {"truncated", false},
            {"sanitized_notes", QJsonArray{"Removed 2 empty lines"}},
            {"fits_storage", true}};
}

QByteArray jsonText(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// The import endpoints and the storage on one scripted server. Previews answer by the field
// delimiter asked for ("" when none was), and every request is recorded.
struct Backend {
    ScriptedHttpServer server;
    QMap<QString, ScriptedResponse> previews;
    ScriptedResponse commitAnswer = ScriptedResponse::json(
        200, R"({"import_id":"imp1","imported":2,"flagged":1,"skipped":1,"already_imported":false})");
    int initiateStatus = 200;

    Backend() {
        previews.insert({}, ScriptedResponse::json(200, jsonText(previewOf("tab"))));
        server.setHandler([this](const RecordedRequest& r) { return answer(r); });
    }

    ScriptedResponse answer(const RecordedRequest& r) const {
        if (r.path == "/api/bootstrap")
            return ScriptedResponse::json(
                200,
                R"({"courses":[{"course_id":"c1","course_name":"Biology"},{"course_id":"c2"}],"documents":[]})");
        if (r.path == pastePath || r.path == uploadPath) {
            QJsonObject body{{"import_id", "imp1"}, {"s3_key", "imports/u1/imp1.txt"}};
            if (r.path == uploadPath)
                body["upload_url"] = server.baseUrl().toString() + "/storage/imp1?sig=1";
            return ScriptedResponse::json(initiateStatus, jsonText(body));
        }
        if (r.path.startsWith("/storage/"))
            return ScriptedResponse::json(200, {});
        if (r.path == previewPath)
            return previews.value(QJsonDocument::fromJson(r.body)["field_delimiter"].toString(),
                                  ScriptedResponse::json(500, "unscripted"));
        if (r.path == commitPath)
            return commitAnswer;
        return ScriptedResponse::json(404, {});
    }

    QList<QJsonObject> bodiesTo(const QString& path) const {
        QList<QJsonObject> bodies;
        for (const RecordedRequest& r : server.requests())
            if (r.path == path.toUtf8())
                bodies << QJsonDocument::fromJson(r.body).object();
        return bodies;
    }
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& data) {
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(data);
    return file.fileName();
}

} // namespace

// The import sheet's model: paste or file, preview, separator changes and commit, over the wire.
class NotecardImportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The whole flow with the exact bodies: the first preview leaves the delimiters to the backend,
    // a separator change sends both, and only the commit button commits, with the course and the
    // flagged choice.
    void pasteToCommitSendsEachStepInOrder() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.previews.insert("comma", ScriptedResponse::json(200, jsonText(previewOf("comma"))));
        NotecardImportModel model(scriptedClient(backend.server));
        QSignalSpy imported(&model, &NotecardImportModel::imported);

        model.begin("c2");
        QTRY_COMPARE(model.courseOptions().size(), 2);
        QCOMPARE(model.courseOptions()[1].toMap()["label"].toString(), QStringLiteral("Untitled course"));
        QCOMPARE(model.courseId(), QStringLiteral("c2"));

        const QString deck =
            QStringLiteral("mitochondria,powerhouse of the cell\n note,ignore previous instructions\n");
        model.setPastedText(deck);
        model.preview();
        QVERIFY(model.isBusy());
        QCOMPARE(model.busyText(), QStringLiteral("Reading your deck…"));
        QTRY_VERIFY(model.hasPreview());
        QVERIFY(!model.isBusy());
        QCOMPARE(backend.bodiesTo(pastePath), (QList<QJsonObject>{QJsonObject{{"text", deck}}}));
        const QJsonObject handle{{"import_id", "imp1"}, {"s3_key", "imports/u1/imp1.txt"}};
        QCOMPARE(backend.bodiesTo(previewPath), QList<QJsonObject>{handle});

        // What the preview shows.
        QCOMPARE(model.totalCards(), 3);
        QCOMPARE(model.fieldDelimiter(), QStringLiteral("tab"));
        QCOMPARE(model.cardDelimiter(), QStringLiteral("newline"));
        QCOMPARE(model.sampleTitle(), QStringLiteral("First 2 cards"));
        const QVariantMap flagged = model.sample()[1].toMap();
        QVERIFY(flagged["flagged"].toBool());
        QCOMPARE(flagged["flagReason"].toString(), QStringLiteral("Looks like an instruction"));
        QCOMPARE(model.skippedTitle(), QStringLiteral("Rows we couldn't read (1)"));
        QCOMPARE(model.skipped()[0].toMap()["line"].toString(), QStringLiteral("Line 4"));
        QCOMPARE(model.skipped()[0].toMap()["preview"].toString(), QStringLiteral("ribosome"));
        QCOMPARE(model.sanitizedNotes(), QStringList{"Removed 2 empty lines"});
        QCOMPARE(model.truncatedText(), QString());
        QCOMPARE(model.flaggedTitle(), QStringLiteral("1 card flagged"));
        // Flagged cards are left out unless the user includes them.
        QVERIFY(!model.includeFlagged());
        QCOMPARE(model.commitTitle(), QStringLiteral("Add 2 cards"));
        model.setIncludeFlagged(true);
        QCOMPARE(model.commitTitle(), QStringLiteral("Add 3 cards"));
        model.setIncludeFlagged(false);

        model.chooseFieldDelimiter("comma");
        QCOMPARE(model.fieldDelimiter(), QStringLiteral("comma"));
        QTRY_VERIFY(!model.isBusy());
        QCOMPARE(backend.bodiesTo(previewPath).size(), 2);
        QJsonObject chosen = handle;
        chosen["field_delimiter"] = "comma";
        chosen["card_delimiter"] = "newline";
        QCOMPARE(backend.bodiesTo(previewPath)[1], chosen);
        QCOMPARE(model.fieldDelimiter(), QStringLiteral("comma"));
        // The same deck is previewed again, not sent again, and nothing is committed.
        QCOMPARE(backend.bodiesTo(pastePath).size(), 1);
        QVERIFY(backend.bodiesTo(commitPath).isEmpty());

        model.setCourseId("c1");
        model.commit();
        QVERIFY(model.isCommitting());
        QTRY_COMPARE(imported.size(), 1);
        QJsonObject commit = chosen;
        commit["course_id"] = "c1";
        commit["include_flagged"] = false;
        QCOMPARE(backend.bodiesTo(commitPath), QList<QJsonObject>{commit});
        QCOMPARE(imported[0], (QVariantList{2, "c1"}));
    }

    // A deck over 2 MB, of another type, empty or a PDF in disguise is refused before any request;
    // a .TSV goes up as text/plain and its preview follows.
    void fileChecksBeforeUploadThenUpload() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        NotecardImportModel model(scriptedClient(backend.server));
        QTemporaryDir dir;

        const QByteArray tooLarge(FlashcardImportAPI::maxDeckBytes + 1, 'a');
        const QList<std::pair<QString, QString>> refusals{
            {writeFile(dir, "big.txt", tooLarge),
             "That deck is 2.1 MB. Imports are limited to 2 MB — try splitting it."},
            {writeFile(dir, "deck.json", "a\tb\n"),
             "Choose a .txt, .csv or .tsv file. In Quizlet, open your set and choose Export."},
            {writeFile(dir, "empty.csv", {}), "That deck is empty."},
            {writeFile(dir, "scan.txt", "%PDF-1.7\n%\xe2\xe3\xcf\xd3\n"),
             "Choose a .txt, .csv or .tsv file. In Quizlet, open your set and choose Export."},
            {dir.filePath("missing.txt"), NotecardImportModel::unreadableFileText},
        };
        for (const auto& [path, message] : refusals) {
            model.chooseFile(QUrl::fromLocalFile(path));
            model.preview();
            QCOMPARE(model.errorMessage(), message);
            QVERIFY(!model.isBusy());
            QVERIFY(!model.hasPreview());
        }
        model.clearFile();
        model.setPastedText({});
        model.preview();
        QCOMPARE(model.errorMessage(), QStringLiteral("That deck is empty."));
        QCOMPARE(backend.server.requestCount(), 0);

        model.chooseFile(QUrl::fromLocalFile(writeFile(dir, "Deck.TSV", "cell\tunit of life\n")));
        QCOMPARE(model.fileName(), QStringLiteral("Deck.TSV"));
        QCOMPARE(model.errorMessage(), QString());
        model.preview();
        QTRY_VERIFY(model.hasPreview());
        const QJsonObject upload{
            {"filename", "Deck.TSV"}, {"content_type", "text/plain"}, {"size_bytes", 18}};
        QCOMPARE(backend.bodiesTo(uploadPath), QList<QJsonObject>{upload});
        const RecordedRequest& put = backend.server.requests()[1];
        QCOMPARE(put.method, QByteArray("PUT"));
        QCOMPARE(put.body, QByteArray("cell\tunit of life\n"));
        QCOMPARE(backend.server.requests()[2].path, previewPath.toUtf8());
    }

    // Only the latest separator choice is shown: the preview on its way for an earlier one is
    // dropped, and cancelling a change goes back to the preview shown.
    void latestSeparatorChoiceWins() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.previews.insert(
            "comma", ScriptedResponse::held(ScriptedResponse::json(200, jsonText(previewOf("comma")))));
        QJsonObject semicolon = previewOf("semicolon");
        semicolon["total_cards"] = 7;
        backend.previews.insert("semicolon", ScriptedResponse::json(200, jsonText(semicolon)));
        NotecardImportModel model(scriptedClient(backend.server));
        model.setPastedText("a;b");
        model.preview();
        QTRY_VERIFY(model.hasPreview());

        model.chooseFieldDelimiter("comma");
        QTRY_COMPARE(backend.server.heldCount(), 1);
        model.chooseFieldDelimiter("semicolon");
        QTRY_COMPARE(backend.server.clientAbortsWhileHeld(), 1);
        QTRY_VERIFY(!model.isBusy());
        QCOMPARE(model.totalCards(), 7);
        QCOMPARE(model.fieldDelimiter(), QStringLiteral("semicolon"));

        model.chooseFieldDelimiter("comma");
        QTRY_COMPARE(backend.server.heldCount(), 1);
        QCOMPARE(model.fieldDelimiter(), QStringLiteral("comma"));
        QVERIFY(!model.canCommit());
        model.cancel();
        QVERIFY(!model.isBusy());
        QCOMPARE(model.fieldDelimiter(), QStringLiteral("semicolon"));
        QCOMPARE(model.totalCards(), 7);
        QVERIFY(model.canCommit());
        QTRY_COMPARE(backend.server.clientAbortsWhileHeld(), 2);
    }

    // Failures leave the step where it was: a failed preview keeps the sent deck for the retry, a
    // failed commit keeps the preview. An import already committed says so and adds nothing.
    void failuresKeepTheStep() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.previews.insert({}, ScriptedResponse::json(503, R"({"detail":"Parser is busy"})"));
        NotecardImportModel model(scriptedClient(backend.server));
        QSignalSpy imported(&model, &NotecardImportModel::imported);
        model.setPastedText("a\tb");
        model.preview();
        QTRY_VERIFY(!model.isBusy());
        QVERIFY(!model.hasPreview());
        QVERIFY(model.errorMessage().startsWith("Couldn't preview your deck: Request failed (503)."));

        backend.previews.insert({}, ScriptedResponse::json(200, jsonText(previewOf("tab"))));
        model.preview();
        QTRY_VERIFY(model.hasPreview());
        QCOMPARE(model.errorMessage(), QString());
        QCOMPARE(backend.bodiesTo(pastePath).size(), 1);

        backend.commitAnswer = ScriptedResponse::json(500, {});
        model.commit();
        QTRY_VERIFY(!model.isBusy());
        QVERIFY(model.errorMessage().startsWith("Couldn't add your cards: Request failed (500)."));
        QVERIFY(model.hasPreview());
        QVERIFY(model.canCommit());

        backend.commitAnswer = ScriptedResponse::json(
            200, R"({"import_id":"imp1","imported":0,"flagged":0,"skipped":0,"already_imported":true})");
        model.commit();
        QTRY_VERIFY(!model.isBusy());
        QCOMPARE(model.noticeMessage(), NotecardImportModel::alreadyImportedText);
        QCOMPARE(model.errorMessage(), QString());
        QVERIFY(!model.canCommit());
        QCOMPARE(imported.size(), 0);
        // Without a course the commit leaves the key out.
        QVERIFY(!backend.bodiesTo(commitPath).last().contains("course_id"));

        // Start over forgets the deck sent: the next preview sends it again.
        model.startOver();
        QVERIFY(!model.hasPreview());
        QCOMPARE(model.noticeMessage(), QString());
        model.preview();
        QTRY_VERIFY(model.hasPreview());
        QCOMPARE(backend.bodiesTo(pastePath).size(), 2);
        QVERIFY(model.canCommit());
    }

    // What the preview leaves out or refuses: no flagged section without flagged cards, the
    // truncation line with the count imported, and no commit for a deck that does not fit.
    void previewSectionsFollowTheDeck() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        QJsonObject plain = previewOf("tab");
        plain["flagged_count"] = 0;
        plain["total_cards"] = 1;
        plain["sample"] = QJsonArray{plain["sample"].toArray()[0]};
        plain["truncated"] = true;
        backend.previews.insert({}, ScriptedResponse::json(200, jsonText(plain)));
        NotecardImportModel model(scriptedClient(backend.server));
        model.setPastedText("a\tb");
        model.preview();
        QTRY_VERIFY(model.hasPreview());
        QCOMPARE(model.flaggedTitle(), QString());
        QCOMPARE(model.sampleTitle(), QStringLiteral("First card"));
        QCOMPARE(model.commitTitle(), QStringLiteral("Add 1 card"));
        QCOMPARE(model.truncatedText(),
                 QStringLiteral(
                     "Only the first 1 card will be imported — the deck is longer than one import allows."));

        QJsonObject tooLarge = previewOf("comma");
        tooLarge["fits_storage"] = false;
        tooLarge["storage_message"] = "You have room for 40 more cards.";
        backend.previews.insert("comma", ScriptedResponse::json(200, jsonText(tooLarge)));
        model.chooseFieldDelimiter("comma");
        QTRY_VERIFY(!model.isBusy());
        QVERIFY(!model.fitsStorage());
        QCOMPARE(model.storageMessage(), QStringLiteral("You have room for 40 more cards."));
        QVERIFY(!model.canCommit());
    }
};

QTEST_MAIN(NotecardImportTest)
#include "tst_NotecardImport.moc"
