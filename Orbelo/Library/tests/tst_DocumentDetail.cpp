#include <QtTest>

#include "APIClient.h"
#include "JobsAPI.h"
#include "Library/DocumentDetailModel.h"
#include "Library/NotesSectionModel.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QTemporaryDir>

using namespace std::chrono_literals;

namespace {

const QByteArray notes = R"({"status":"success","summary":{
    "summary_text":"Cells turn **glucose** into ATP.\nMost of it happens in the mitochondrion.",
    "key_concepts":["Cellular respiration","Electron transport chain "],
    "key_terms":[{"term":"ATP","definition":"the molecule that carries energy in the cell."},
                 {"term":"Glycolysis","definition":"splits glucose in the cytoplasm"}],
    "domain":"biology"}})";

// A job record of the summary job; `rest` adds keys after the status.
QByteArray job(const char* status, const QByteArray& rest = {}) {
    return R"({"job_id":"job_7","user_id":"u1","job_type":"summary","created_at":"2026-05-01T10:00:00Z",)"
           R"("status":")" +
           QByteArray(status) + '"' + rest + '}';
}

NotesSectionModel* section(const DocumentDetailModel& model, int index) {
    return qobject_cast<NotesSectionModel*>(model.sections().value(index));
}

QVariant role(QAbstractItemModel* model, int row, const char* name) {
    return model->data(model->index(row, 0), model->roleNames().key(name));
}

} // namespace

// The notes screen's model against a scripted server: loading once, generating with its
// messages, the sections with their blocks, copy and save, and the read-aloud text.
class DocumentDetailTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedHttpServer> server;
    std::unique_ptr<DocumentDetailModel> model;

private Q_SLOTS:
    void init() {
        server = std::make_unique<ScriptedHttpServer>();
        model = std::make_unique<DocumentDetailModel>(scriptedClient(*server));
        model->setDocumentId("doc_1");
        model->setCourseId("course_1");
        model->setTitle("Cell Biology");
    }
    void cleanup() {
        model.reset();
        server.reset();
    }

    // The notes load when the screen first appears; appearing again (back from the narration
    // screen) does not fetch them again, while a refresh does.
    void loadsOnFirstAppearanceOnly() {
        server->enqueue(ScriptedResponse::json(200, notes));
        model->appear();
        QVERIFY(model->didLoad());
        QVERIFY(model->isLoading());
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(server->requests()[0].path, QByteArray("/api/bookshelf/summaries/doc_1"));
        QVERIFY(model->hasNotes());
        QCOMPARE(model->sections().size(), 3);
        QCOMPARE(section(*model, 0)->title(), "Summary");
        QCOMPARE(section(*model, 1)->title(), "Key concepts");
        QCOMPARE(section(*model, 1)->markdown(), "- Cellular respiration\n- Electron transport chain");
        QCOMPARE(section(*model, 2)->title(), "Key terms");
        QCOMPARE(section(*model, 2)->systemImage(), "character.book.closed");

        model->appear();
        QTest::qWait(20);
        QCOMPARE(server->requestCount(), 1);
        QVERIFY(model->errorMessage().isEmpty());

        server->enqueue(ScriptedResponse::json(200, R"({"status":"not_found"})"));
        model->load();
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(server->requestCount(), 2);
        QVERIFY(!model->hasNotes()); // the empty state
        QVERIFY(model->sections().isEmpty());
    }

    void loadFailureAndNotesWithoutContent() {
        server->enqueue(ScriptedResponse::json(404, R"({"detail":"No such document."})"));
        model->appear();
        QTRY_VERIFY(!model->isLoading());
        QCOMPARE(model->errorMessage(),
                 QString("Couldn't load notes: Request failed (404). {\"detail\":\"No such document.\"}"));
        QVERIFY(!model->hasNotes());

        // A record with nothing in it is no notes either; a new load clears the old message.
        server->enqueue(ScriptedResponse::json(200, R"({"summary":{"summary_text":"  ","key_terms":[]}})"));
        model->load();
        QVERIFY(model->errorMessage().isEmpty());
        QTRY_VERIFY(!model->isLoading());
        QVERIFY(!model->hasNotes());
        QVERIFY(model->keyTermCards().isEmpty());
    }

    // "Study as flashcards": the key terms with a definition, trimmed, in their order.
    void keyTermsAsCards() {
        server->enqueue(ScriptedResponse::json(
            200,
            R"({"summary":{"summary_text":"Cells.","key_terms":[{"term":" ATP ","definition":"energy\n"},)"
            R"({"term":"Cytosol","definition":"  "},{"term":"Ribosome","definition":"makes proteins"}]}})"));
        model->load();
        QTRY_VERIFY(model->hasNotes());
        const QVariantList cards = model->keyTermCards();
        QCOMPARE(cards.size(), 2);
        QCOMPARE(cards[0].toMap(), (QVariantMap{{"front", "ATP"}, {"back", "energy"}}));
        QCOMPARE(cards[1].toMap(), (QVariantMap{{"front", "Ribosome"}, {"back", "makes proteins"}}));
    }

    // Generating sends the course and the document, follows a queued job on the clock, and ends
    // with the notes or one of the two messages.
    void generateWithItsMessages() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        server->enqueue(ScriptedResponse::json(200, job("queued")));
        server->enqueue(ScriptedResponse::json(200, job("processing")));
        server->enqueue(ScriptedResponse::json(200, job("complete", R"(,"result":)" + notes)));
        model->generate();
        QVERIFY(model->isGenerating());
        QTRY_COMPARE(server->requestCount(), 2);
        QCOMPARE(server->requests()[0].method, QByteArray("POST"));
        QCOMPARE(server->requests()[0].path, QByteArray("/api/bookshelf/generate-summary"));
        QCOMPARE(QJsonDocument::fromJson(server->requests()[0].body).object(),
                 QJsonObject({{"course_id", "course_1"}, {"document_id", "doc_1"}}));
        QTRY_COMPARE(clock.nextTimerIn(), JobsAPI::pollInterval);
        clock.advance(JobsAPI::pollInterval);
        QTRY_VERIFY(!model->isGenerating());
        QCOMPARE(server->requests()[2].path, QByteArray("/api/jobs/job_7"));
        QVERIFY(model->hasNotes());
        QVERIFY(model->errorMessage().isEmpty());

        // Regenerating asks for new notes; an answer without notes keeps the notes there are.
        server->enqueue(ScriptedResponse::json(200, R"({"status":"empty"})"));
        model->generate();
        QTRY_VERIFY(!model->isGenerating());
        QCOMPARE(
            QJsonDocument::fromJson(server->requests().last().body).object(),
            QJsonObject({{"course_id", "course_1"}, {"document_id", "doc_1"}, {"force_regenerate", true}}));
        QCOMPARE(model->errorMessage(), DocumentDetailModel::notGeneratedMessage);
        QCOMPARE(model->errorMessage(), "Notes couldn't be generated for this document. It may be empty or "
                                        "still processing — try again shortly.");
        QCOMPARE(model->sections().size(), 3);

        server->enqueue(ScriptedResponse::json(500, R"({"detail":"Summarizer crashed."})"));
        model->generate();
        QTRY_VERIFY(!model->isGenerating());
        QCOMPARE(model->errorMessage(),
                 QString("Generation failed: Request failed (500). {\"detail\":\"Summarizer crashed.\"}"));
    }

    void generateFailsWhenTheJobFails() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        server->enqueue(ScriptedResponse::json(200, job("queued")));
        server->enqueue(ScriptedResponse::json(200, job("failed", R"(,"error":"No text.")")));
        model->generate();
        QTRY_VERIFY(!model->isGenerating());
        QVERIFY(model->errorMessage().startsWith("Generation failed: "));
        QVERIFY2(model->errorMessage().contains("No text."), qPrintable(model->errorMessage()));
    }

    // Destroying the screen's model mid-request ends its task without touching it afterwards.
    void destroyedWhileGenerating() {
        server->enqueue(ScriptedResponse::held(ScriptedResponse::json(200, notes)));
        model->generate();
        QTRY_COMPARE(server->heldCount(), 1);
        model.reset();
        server->releaseHeld();
        QTest::qWait(20);
    }

    void readAloudText() {
        QCOMPARE(model->readAloudText(), QString());
        DocumentSummary summary;
        summary.summaryText = "# Overview\nCells turn **glucose** into ATP.\n- Mostly in the mitochondrion";
        summary.keyConcepts = QList<QString>{"Cellular respiration", "Why cells need oxygen?"};
        summary.keyTerms = QList<DocumentKeyTerm>{{"ATP", "the molecule that carries energy."},
                                                  {"Glycolysis", "splits glucose "}};
        QCOMPARE(DocumentDetailModel::readAloudText(summary),
                 "Overview\nCells turn glucose into ATP.\nMostly in the mitochondrion\n\n"
                 "Key concepts: Cellular respiration. Why cells need oxygen?\n\n"
                 "Key terms. ATP: the molecule that carries energy. Glycolysis: splits glucose.");

        summary.keyConcepts.reset();
        summary.summaryText.reset();
        QCOMPARE(DocumentDetailModel::readAloudText(summary),
                 "Key terms. ATP: the molecule that carries energy. Glycolysis: splits glucose.");
    }

    // A real page of notes as the screen's blocks: headings, nested bullets, numbers and
    // paragraphs with their inline styling.
    void blocksOfARealNotesSample() {
        QFile file(QStringLiteral(TEXT_TEST_DATA "/notes.md"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        NotesSectionModel summary({"Summary", "doc.text", QString::fromUtf8(file.readAll())});
        QAbstractItemModel* blocks = summary.blocks();
        QCOMPARE(blocks->rowCount(), 13);
        QStringList kinds;
        for (int row = 0; row < 5; ++row)
            kinds << role(blocks, row, "kind").toString();
        QCOMPARE(kinds, QStringList({"heading", "paragraph", "heading", "ordered", "ordered"}));
        const QString paragraph = role(blocks, 1, "styledText").toString();
        QVERIFY2(paragraph.contains("<b>glucose</b>") && paragraph.contains("<i>three</i>"),
                 qPrintable(paragraph));
        QCOMPARE(role(blocks, 4, "number").toString(), "2");
        QCOMPARE(role(blocks, 5, "level").toInt(), 1);
        QCOMPARE(role(blocks, 6, "level").toInt(), 2);
        QCOMPARE(role(blocks, 8, "level").toInt(), 3);
        QVERIFY(role(blocks, 11, "styledText").toString().contains("href=\"https://example.org/review\""));
    }

    void copyShowsCopiedForAMoment() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        NotesSectionModel terms(
            {"Key terms", "character.book.closed", "- **ATP**: energy\n- **NADH**: a carrier"});
        QSignalSpy changed(&terms, &NotesSectionModel::didCopyChanged);
        terms.copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), "ATP: energy\nNADH: a carrier");
        QVERIFY(terms.didCopy());
        clock.advance(NotesSectionModel::copiedDuration / 2);
        terms.copy(); // copying again starts the moment afresh
        clock.advance(NotesSectionModel::copiedDuration / 2 + 1ms);
        QTest::qWait(10);
        QVERIFY(terms.didCopy());
        QCOMPARE(changed.size(), 1);
        clock.advance(NotesSectionModel::copiedDuration);
        QTRY_VERIFY(!terms.didCopy());
    }

    void saveAsMarkdown() {
        QTemporaryDir dir;
        NotesSectionModel concepts({"Key concepts", "lightbulb", "- Osmosis\n- Diffusion"});
        QCOMPARE(concepts.suggestedFile("Cell: Biology / 101").fileName(),
                 "Cell Biology 101 - Key concepts.md");

        const QString path = dir.filePath("concepts.md");
        QVERIFY(concepts.saveMarkdown(QUrl::fromLocalFile(path)));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("- Osmosis\n- Diffusion\n"));
        QVERIFY(concepts.saveError().isEmpty());

        QVERIFY(!concepts.saveMarkdown(QUrl::fromLocalFile(dir.filePath("missing/folder/concepts.md"))));
        QVERIFY2(concepts.saveError().startsWith("Couldn't save Key concepts: "),
                 qPrintable(concepts.saveError()));
        QVERIFY(concepts.saveMarkdown(QUrl::fromLocalFile(path)));
        QVERIFY(concepts.saveError().isEmpty());
    }
};

QTEST_MAIN(DocumentDetailTest)
#include "tst_DocumentDetail.moc"
