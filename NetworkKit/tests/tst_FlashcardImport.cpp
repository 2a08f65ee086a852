// Importing a flashcard deck: the checks made on the device, then initiate, upload, preview and
// commit as they go over the wire.
#include "EndpointHarness.h"
#include "FlashcardImport/FlashcardImportAPI.h"

using ImportError = FlashcardImportAPI::ImportError;
Q_DECLARE_METATYPE(ImportError::Kind)

namespace {

QByteArray initiated(const QByteArray& uploadUrl = {}) {
    QByteArray json = R"({"import_id":"imp_7c2","s3_key":"imports/user_2k9XfQ/imp_7c2.txt")";
    if (!uploadUrl.isEmpty())
        json += R"(,"upload_url":")" + uploadUrl + R"(","expires_in":900)";
    return json + "}";
}

} // namespace

class FlashcardImportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pastedTextGoesOutUnchanged() {
        EndpointHarness h;
        const QString deck = QStringLiteral("  osmosis\tdiffusion of water\n\"ATP\"\tenergy currency é\n");
        h.answerJson(initiated());
        const ImportHandle handle = h.await(FlashcardImportAPI(h.client()).initiatePaste(deck));
        COMPARE_REQUEST(h.request(), "POST", "/api/study-content/import/initiate/paste",
                        "{\"text\":\"  osmosis\\tdiffusion of water\\n\\\"ATP\\\"\\tenergy currency é\\n\"}");
        QCOMPARE(handle.importId, QStringLiteral("imp_7c2"));
        QCOMPARE(handle.s3Key, QStringLiteral("imports/user_2k9XfQ/imp_7c2.txt"));

        h.answerJson(initiated());
        h.await(FlashcardImportAPI(h.client()).initiatePaste(QStringLiteral(" \n")));
        QCOMPARE(h.server.requestCount(), 2);
    }

    void pastedTextIsMeasuredInUtf8() {
        EndpointHarness h;
        const FlashcardImportAPI api(h.client());
        QCOMPARE(h.failure<ImportError>(api.initiatePaste(QString())).kind(), ImportError::Kind::emptyDeck);

        // Half as many characters as the limit, but each takes two bytes.
        const ImportError error = h.failure<ImportError>(api.initiatePaste(QString(1'048'577, QChar(0xe9))));
        QCOMPARE(error.kind(), ImportError::Kind::deckTooLarge);
        QCOMPARE(error.bytes(), 2'097'154);
        QCOMPARE(error.limit(), 2'097'152);
        QCOMPARE(h.server.requestCount(), 0);

        h.answerJson(initiated());
        h.await(api.initiatePaste(QString(2'097'152, QLatin1Char('a'))));
        QCOMPARE(h.server.requestCount(), 1);
    }

    void uploadedFileIsInitiatedThenPut() {
        EndpointHarness h;
        const QByteArray deck(2'097'152, 'a');
        h.answerJson(
            initiated(h.server.baseUrl().toString().toUtf8() + "/storage/imports/imp_7c2.txt?sig=f00d"));
        h.answerJson({});
        const ImportHandle handle = h.await(FlashcardImportAPI(h.client()).initiateUpload("Deck.TSV", deck));

        COMPARE_REQUEST(h.request(0), "POST", "/api/study-content/import/initiate/upload",
                        R"({"filename":"Deck.TSV","content_type":"text/plain","size_bytes":2097152})");
        const RecordedRequest& put = h.request(1);
        QCOMPARE(put.method, QByteArray("PUT"));
        QCOMPARE(put.target, QByteArray("/storage/imports/imp_7c2.txt?sig=f00d"));
        QCOMPARE(put.header("content-type"), QByteArray("text/plain"));
        QVERIFY(!put.header("authorization"));
        QVERIFY(put.body == deck);
        QCOMPARE(handle.importId, QStringLiteral("imp_7c2"));
    }

    void filesAreCheckedBeforeAnyRequest_data() {
        QTest::addColumn<QString>("filename");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<ImportError::Kind>("kind");
        QTest::addColumn<QString>("description");
        QTest::newRow("empty before extension")
            << "deck.json" << qint64(0) << ImportError::Kind::emptyDeck << "That deck is empty.";
        QTest::newRow("one byte over")
            << "deck.txt" << qint64(2'097'153) << ImportError::Kind::deckTooLarge
            << "That deck is 2.1 MB. Imports are limited to 2 MB — try splitting it.";
        QTest::newRow("size before extension")
            << "deck.pdf" << qint64(2'500'000) << ImportError::Kind::deckTooLarge
            << "That deck is 2.5 MB. Imports are limited to 2 MB — try splitting it.";
        const QString chooseText =
            QStringLiteral("Choose a .txt, .csv or .tsv file. In Quizlet, open your set and choose Export.");
        QTest::newRow("json") << "deck.json" << qint64(10) << ImportError::Kind::unsupportedFileType
                              << chooseText;
        QTest::newRow("no extension")
            << "deck" << qint64(10) << ImportError::Kind::unsupportedFileType << chooseText;
    }
    void filesAreCheckedBeforeAnyRequest() {
        QFETCH(QString, filename);
        QFETCH(qint64, size);
        QFETCH(ImportError::Kind, kind);
        QFETCH(QString, description);
        EndpointHarness h;
        const ImportError error = h.failure<ImportError>(
            FlashcardImportAPI(h.client()).initiateUpload(filename, QByteArray(size, 'a')));
        QCOMPARE(error.kind(), kind);
        QCOMPARE(error.errorDescription(), description);
        QCOMPARE(h.server.requestCount(), 0);
    }

    void anUnsupportedTypeNamesItsExtensionInLowerCase() {
        EndpointHarness h;
        const ImportError error =
            h.failure<ImportError>(FlashcardImportAPI(h.client()).initiateUpload("Export.JSON", "a\tb"));
        QCOMPARE(error.fileExtension(), QStringLiteral("json"));
    }

    void anUploadWithoutStorageURLStops() {
        EndpointHarness h;
        h.answerJson(initiated());
        const ImportError error = h.failure<ImportError>(
            FlashcardImportAPI(h.client()).initiateUpload("deck.csv", "osmosis,water"));
        QCOMPARE(error.kind(), ImportError::Kind::missingUploadURL);
        QCOMPARE(error.errorDescription(), QStringLiteral("Couldn't start the upload. Please try again."));
        QCOMPARE(h.server.requestCount(), 1);
    }

    void previewAndCommit() {
        EndpointHarness h;
        const FlashcardImportAPI api(h.client());
        const ImportHandle handle{QStringLiteral("imp_7c2"),
                                  QStringLiteral("imports/user_2k9XfQ/imp_7c2.txt")};

        h.answer(QStringLiteral("import_preview.json"));
        const ImportPreviewResponse detected = h.await(api.preview(handle, std::nullopt, std::nullopt));
        COMPARE_REQUEST(h.request(), "POST", "/api/study-content/import/preview",
                        R"({"import_id":"imp_7c2","s3_key":"imports/user_2k9XfQ/imp_7c2.txt"})");
        QCOMPARE(EndpointHarness::reencoded(detected),
                 EndpointHarness::canonical(h.fixture("import_preview.json")));

        h.answer(QStringLiteral("import_preview.json"));
        h.await(api.preview(handle, FieldDelimiter::semicolon, CardDelimiter::blankLine));
        COMPARE_REQUEST(h.request(), "POST", "/api/study-content/import/preview",
                        R"({"import_id":"imp_7c2","s3_key":"imports/user_2k9XfQ/imp_7c2.txt",
                            "field_delimiter":"semicolon","card_delimiter":"blank_line"})");

        h.answer(QStringLiteral("import_result.json"));
        const ImportCommitResponse result = h.await(
            api.commit(handle, QStringLiteral("crs_bio201"), FieldDelimiter::tab, std::nullopt, true));
        COMPARE_REQUEST(
            h.request(), "POST", "/api/study-content/import/commit",
            R"({"import_id":"imp_7c2","s3_key":"imports/user_2k9XfQ/imp_7c2.txt","course_id":"crs_bio201",
                            "field_delimiter":"tab","include_flagged":true})");
        QCOMPARE(EndpointHarness::reencoded(result),
                 EndpointHarness::canonical(h.fixture("import_result.json")));
    }
};

QTEST_GUILESS_MAIN(FlashcardImportTest)
#include "tst_FlashcardImport.moc"
