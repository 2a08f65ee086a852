#include "SampleDocuments.h"
#include "TestServer.h"

#include <QJsonArray>
#include <QTest>

// How an upload's processing ends, over HTTPS: the processing-status endpoint of one document, and
// files that cannot be read ending "failed" with the reason in both the status and the library.
class DocumentProcessingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    QString token;

    void startServer(int jobDelayMs) {
        server = std::make_unique<TestServer>();
        server->setJobDelay(jobDelayMs);
        QVERIFY(server->start());
        token = server->sessionToken(server->signUp("student@example.com", "study-hard-1"));
        QVERIFY(!token.isEmpty());
    }

    TestServer::Reply status(const QString& documentId, const QString& bearer) {
        return server->api("GET", "/api/documents/" + documentId + "/status", bearer);
    }

    // Polls the status as a client watching the upload does until processing has ended.
    QJsonObject settledStatus(const QString& documentId) {
        for (int polls = 0; polls < 10000; ++polls) {
            const QJsonObject answer = status(documentId, token).json();
            const QString state = answer.value("status").toString();
            if (state != "queued" && state != "processing")
                return answer;
            QTest::qWait(0);
        }
        return {};
    }

    QJsonObject libraryRecord(const QString& documentId) {
        const QJsonObject bootstrap = server->api("GET", "/api/bootstrap", token).json();
        for (const QJsonValue& document : bootstrap.value("documents").toArray()) {
            if (document.toObject().value("id").toString() == documentId)
                return document.toObject();
        }
        return {};
    }

private slots:
    void cleanup() { server.reset(); }

    void statusOfAReadyDocument() {
        startServer(0);
        const QString documentId = server->uploadDocument(
            token, "Osmosis is the diffusion of water across a membrane.", "osmosis.txt", "text/plain");
        QVERIFY(!documentId.isEmpty());
        const QJsonObject answer = settledStatus(documentId);
        QCOMPARE(answer.value("status").toString(), "ready");
        QCOMPARE(answer.value("progress").toDouble(), 1.0);
        QCOMPARE(answer.value("current_step").toString(), "Ready");
        QVERIFY(answer.value("failure_reason").isNull());
        const QJsonObject job =
            server->api("GET", "/api/jobs/" + answer.value("task_id").toString(), token).json();
        QCOMPARE(job.value("job_type").toString(), "document_processing");
        QCOMPARE(job.value("completed_at").toString(), answer.value("updated_at").toString());
    }

    void statusWhileQueuedAndForOthers() {
        startServer(600000); // the job stays queued for the whole test
        const QString documentId = server->uploadDocument(token, "Notes on enzymes and their substrates.",
                                                          "enzymes.txt", "text/plain");
        const auto queued = status(documentId, token);
        QCOMPARE(queued.status, 200);
        QCOMPARE(queued.json().value("status").toString(), "queued");
        QCOMPARE(queued.json().value("progress").toDouble(), 0.0);
        QVERIFY(!queued.json().value("task_id").toString().isEmpty());

        const QString otherToken =
            server->sessionToken(server->signUp("classmate@example.com", "study-hard-2"));
        QCOMPARE(status(documentId, otherToken).status, 404);
        QCOMPARE(status("doc_unknown", token).status, 404);
        QCOMPARE(status(documentId, {}).status, 401);

        const QJsonObject notUploaded =
            server
                ->api("POST", "/api/v2/uploads/document/initiate", token,
                      {{"filename", "later.txt"}, {"file_size", 10}, {"content_type", "text/plain"}})
                .json();
        QCOMPARE(status(notUploaded.value("document_id").toString(), token).status, 404);
    }

    void unreadableFilesFailWithTheirReason_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("filename");
        QTest::addColumn<QString>("contentType");
        QTest::addColumn<QString>("reason");
        const QString damaged =
            "The PDF is damaged and could not be read. Save or export it again, then upload the new file.";
        const QByteArray pdf = SampleDocuments::pdf({"Photosynthesis turns light into chemical energy."});
        const QByteArray encrypted = SampleDocuments::encryptedPdf(pdf);
        QVERIFY(encrypted.startsWith("%PDF"));
        QTest::newRow("password-protected PDF")
            << encrypted << "locked.pdf"
            << "application/pdf"
            << "The PDF is protected by a password. Remove the password and upload it again.";
        QTest::newRow("PDF without its cross-reference and objects")
            << QByteArray("%PDF-1.7\n").append(QByteArray(4096, '\x9c')) << "scrambled.pdf"
            << "application/pdf" << damaged;
        QTest::newRow("PDF cut short") << pdf.left(pdf.size() / 3) << "cut.pdf"
                                       << "application/pdf" << damaged;
        QTest::newRow("named PDF, not one") << QByteArray("not a pdf at all") << "scan.pdf"
                                            << "application/octet-stream" << damaged;
        QTest::newRow("empty PDF") << QByteArray() << "empty.pdf"
                                   << "application/pdf"
                                   << "The uploaded file is empty.";
        QTest::newRow("empty text file") << QByteArray() << "empty.txt"
                                         << "text/plain"
                                         << "The uploaded file is empty.";
    }

    void unreadableFilesFailWithTheirReason() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, filename);
        QFETCH(QString, contentType);
        QFETCH(QString, reason);
        startServer(0);
        const QString documentId = server->uploadDocument(token, bytes, filename, contentType);
        QVERIFY(!documentId.isEmpty());
        const QJsonObject answer = settledStatus(documentId);
        QCOMPARE(answer.value("status").toString(), "failed");
        QCOMPARE(answer.value("current_step").toString(), "Failed");
        QCOMPARE(answer.value("failure_reason").toString(), reason);
        const QJsonObject document = libraryRecord(documentId);
        QCOMPARE(document.value("status").toString(), "failed");
        QCOMPARE(document.value("failure_reason").toString(), reason);
    }
};

QTEST_MAIN(DocumentProcessingTest)
#include "DocumentProcessingTest.moc"
