#include "SampleDocuments.h"
#include "ServerContext.h"
#include "Speech/SpeechRoutes.h"
#include "Speech/WavInfo.h"
#include "TestServer.h"

#include <QJsonArray>
#include <QTest>

// The app's path from sign-up to a processed library, over HTTPS: upload through the presigned
// URL, processing to ready or failed, syllabus detection, and deletion.
class LibraryFlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    QString token;

    struct Upload {
        QString documentId;
        QJsonObject completion;
    };

    Upload upload(const QByteArray& bytes, const QString& filename, const QString& contentType,
                  const QString& courseId = {}) {
        QJsonObject initiate{
            {"filename", filename}, {"file_size", bytes.size()}, {"content_type", contentType}};
        if (!courseId.isEmpty())
            initiate.insert("course_id", courseId);
        const auto started = server->api("POST", "/api/v2/uploads/document/initiate", token, initiate);
        const QJsonObject presigned = started.json();
        const auto put = server->send("PUT", presigned.value("presigned_url").toString(), bytes,
                                      {{"Content-Type", contentType.toLatin1()}});
        if (put.status != 200)
            qWarning() << "PUT failed" << put.status << put.body;
        QJsonObject complete{{"document_id", presigned.value("document_id")},
                             {"s3_key", presigned.value("s3_key")},
                             {"original_filename", filename},
                             {"skip_syllabus_extraction", !courseId.isEmpty()}};
        if (!courseId.isEmpty())
            complete.insert("course_id", courseId);
        return {presigned.value("document_id").toString(),
                server->api("POST", "/api/v2/uploads/document/complete", token, complete).json()};
    }

    // Reloads the library as the app's processing watch does until the document settles.
    QJsonObject settled(const QString& documentId) {
        for (int polls = 0; polls < 10000; ++polls) {
            const QJsonObject bootstrap = server->api("GET", "/api/bootstrap", token).json();
            for (const QJsonValue& value : bootstrap.value("documents").toArray()) {
                const QJsonObject document = value.toObject();
                const QString status = document.value("status").toString();
                if (document.value("id").toString() == documentId && status != "queued" &&
                    status != "processing")
                    return document;
            }
            QTest::qWait(0);
        }
        return {};
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        const auto device = server->signUp("student@example.com", "study-hard-1");
        token = server->sessionToken(device);
        QVERIFY(!token.isEmpty());
    }
    void cleanup() { server.reset(); }

    void pdfAndDocxReachReady() {
        const auto bootstrap = server->api("GET", "/api/bootstrap", token).json();
        QCOMPARE(bootstrap.value("documents").toArray().size(), 0);
        QCOMPARE(bootstrap.value("documents_count").toInt(), 0);
        QVERIFY(bootstrap.value("courses").isArray());

        const QString pageText =
            QString("The mitochondrion is the organelle that produces most of the cell's energy. ")
                .repeated(30);
        const Upload pdf = upload(SampleDocuments::pdf({pageText, pageText}), "Cell Biology Lecture 3.pdf",
                                  "application/pdf");
        QCOMPARE(pdf.completion.value("status").toString(), "queued");
        QVERIFY(pdf.completion.contains("job_id")); // no course: checked as a syllabus, and it is none
        const QJsonObject pdfDocument = settled(pdf.documentId);
        QCOMPARE(pdfDocument.value("status").toString(), "ready");
        QCOMPARE(pdfDocument.value("file_type").toString(), "pdf");
        QCOMPARE(pdfDocument.value("document_type").toString(), "lecture");
        QVERIFY(pdfDocument.value("chunk_count").toInt() >= 2);
        QCOMPARE(pdfDocument.value("filename").toString(), "Cell Biology Lecture 3.pdf");

        const Upload docx =
            upload(SampleDocuments::docx({"Osmosis is the diffusion of water across a membrane.",
                                          "Diffusion moves particles down a gradient."}),
                   "reading.docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document");
        const QJsonObject docxDocument = settled(docx.documentId);
        QCOMPARE(docxDocument.value("status").toString(), "ready");
        QCOMPARE(docxDocument.value("file_type").toString(), "docx");
        QCOMPARE(docxDocument.value("chunk_count").toInt(), 1);
        QCOMPARE(server->api("GET", "/api/bootstrap", token).json().value("documents_count").toInt(), 2);
    }

    void summaryAndNarrationOfAProcessedDocument() {
        const QString notes =
            "The mitochondrion is the organelle that produces most of the energy of the cell. "
            "Cellular respiration refers to the process that turns glucose into usable energy. "
            "ATP is a molecule that carries energy within the cell. "
            "The mitochondrion makes ATP during cellular respiration. "
            "Glycolysis splits glucose in the cytoplasm before the mitochondrion takes over.";
        const Upload upload =
            this->upload(SampleDocuments::pdf({notes}), "respiration.pdf", "application/pdf");
        QCOMPARE(settled(upload.documentId).value("status").toString(), "ready");

        const auto before = server->api("GET", "/api/bookshelf/summaries/" + upload.documentId, token);
        QCOMPARE(before.status, 200);
        QVERIFY(!before.json().contains("summary"));
        const QJsonObject request{{"course_id", ""}, {"document_id", upload.documentId}};
        const QJsonObject enqueued =
            server->api("POST", "/api/bookshelf/generate-summary", token, request).json();
        QCOMPARE(enqueued.value("status").toString(), "queued");
        const QJsonObject job = server->waitForJob(enqueued.value("job_id").toString(), token);
        QCOMPARE(job.value("status").toString(), "complete");
        const QJsonObject summary = job.value("result").toObject().value("summary").toObject();
        QVERIFY(summary.value("summary_text").toString().contains("mitochondrion"));
        QCOMPARE(summary.value("domain").toString(), "biology");
        QStringList terms;
        for (const QJsonValue& term : summary.value("key_terms").toArray())
            terms.append(term.toObject().value("term").toString());
        QVERIFY2(terms.contains("mitochondrion") && terms.contains("ATP"), qPrintable(terms.join(',')));
        QCOMPARE(server->api("GET", "/api/bookshelf/summaries/" + upload.documentId, token)
                     .json()
                     .value("summary"),
                 QJsonValue(summary));
        // Asked again, the notes come back inline.
        QCOMPARE(
            server->api("POST", "/api/bookshelf/generate-summary", token, request).json().value("summary"),
            QJsonValue(summary));

        const QJsonObject submission =
            server->api("POST", "/api/tts/document/" + upload.documentId, token, {{"voice", "en-us"}}).json();
        const QJsonObject narration = server->waitForJob(submission.value("job_id").toString(), token);
        QCOMPARE(narration.value("status").toString(), "complete");
        const QJsonObject playlist = narration.value("result").toObject();
        QCOMPARE(playlist.value("document_id").toString(), upload.documentId);
        // Whichever engine the server chose at start; a requested espeak-ng voice binds only espeak-ng.
        const SpeechVoice& voice = server->server().context().voice;
        QCOMPARE(playlist.value("provider").toString(), voice.provider());
        QCOMPARE(playlist.value("voice").toString(), voice.name);
        const QJsonArray segments = playlist.value("segments").toArray();
        QVERIFY(!segments.isEmpty());
        int chars = 0;
        for (qsizetype i = 0; i < segments.size(); ++i) {
            const QJsonObject segment = segments[i].toObject();
            QCOMPARE(segment.value("index").toInt(), int(i));
            const auto audio = server->send("GET", segment.value("url").toString());
            QCOMPARE(audio.status, 200);
            const auto wav = WavInfo::read(audio.body);
            QVERIFY(wav);
            QCOMPARE(wav->durationMs(), segment.value("duration_ms").toInteger());
            // Speech at about 165 words per minute: a sentence takes seconds, not milliseconds.
            QVERIFY(wav->durationMs() > segment.value("char_count").toInt() * 20);
            chars += segment.value("char_count").toInt();
        }
        QVERIFY(chars > 0);
        const QJsonObject again =
            server->api("POST", "/api/tts/document/" + upload.documentId, token, {{"voice", "en-us"}}).json();
        QCOMPARE(again.value("playlist").toObject(), playlist);

        const QJsonObject clip =
            server->api("POST", "/api/tts/speak", token, {{"text", "Good morning."}}).json();
        const auto clipAudio = server->send("GET", clip.value("url").toString());
        QCOMPARE(WavInfo::read(clipAudio.body)->durationMs(), clip.value("duration_ms").toInteger());
        QCOMPARE(clip.value("size_bytes").toInteger(), clipAudio.body.size());
        QCOMPARE(clip.value("cached").toBool(), false);
        QCOMPARE(clipAudio.header("Accept-Ranges"), "bytes");
        // Players seek with ranges: a middle slice, the last bytes, and a start past the end.
        const QString clipUrl = clip.value("url").toString();
        const qsizetype size = clipAudio.body.size();
        const auto middle = server->send("GET", clipUrl, {}, {{"Range", "bytes=100-199"}});
        QCOMPARE(middle.status, 206);
        QCOMPARE(middle.body, clipAudio.body.mid(100, 100));
        QCOMPARE(middle.header("Content-Range"), "bytes 100-199/" + QByteArray::number(size));
        const auto tail = server->send("GET", clipUrl, {}, {{"Range", "bytes=-10"}});
        QCOMPARE(tail.body, clipAudio.body.right(10));
        QCOMPARE(tail.header("Content-Range"), "bytes " + QByteArray::number(size - 10) + '-' +
                                                   QByteArray::number(size - 1) + '/' +
                                                   QByteArray::number(size));
        const auto past =
            server->send("GET", clipUrl, {}, {{"Range", "bytes=" + QByteArray::number(size) + "-"}});
        QCOMPARE(past.status, 416);
        QCOMPARE(past.header("Content-Range"), "bytes */" + QByteArray::number(size));
        QCOMPARE(server->send("GET", clipUrl, {}, {{"Range", "bytes=0-1,5-6"}}).body, clipAudio.body);
        QCOMPARE(
            server->api("POST", "/api/tts/speak", token, {{"text", "Good morning."}}).json().value("cached"),
            QJsonValue(true));
        QCOMPARE(server->send("GET", "/media/../orbelo.sqlite").status, 404);
        // A voice the engine lacks falls back to its default.
        const auto fallback =
            server->api("POST", "/api/tts/speak", token, {{"text", "Hello."}, {"voice", "zz"}});
        QCOMPARE(fallback.status, 200);
        QVERIFY(WavInfo::read(server->send("GET", fallback.json().value("url").toString()).body));
    }

    void narrationOfAVeryLongDocumentIsRefused() {
        QByteArray text;
        while (text.size() <= SpeechRoutes::maxNarrationChars)
            text += "Mitochondria make most of the energy a cell uses. ";
        const Upload long_ = upload(text, "long.txt", "text/plain");
        QCOMPARE(settled(long_.documentId).value("status").toString(), "ready");
        const auto refused = server->api("POST", "/api/tts/document/" + long_.documentId, token);
        QCOMPARE(refused.status, 413);
        QCOMPARE(refused.json().value("detail").toString(),
                 "Narration is limited to 200,000 characters per document.");
    }

    void uploadWithoutCourseIsCheckedAsSyllabus() {
        const QString syllabus =
            "BIOL 201 Cell Biology Syllabus\nInstructor: Dr. Rosalind Franklin\n"
            "Meeting Times: Mon/Wed 10:00-11:15\nLocation: Science Hall 204\n"
            "Office Hours: Tuesday 2-4pm\nGrading: exams 60%, labs 40%\n"
            "Week 1: Cell structure\nWeek 2: Membranes and transport\nWeek 3: Cellular respiration\n";
        const Upload upload =
            this->upload(SampleDocuments::pdf({syllabus}), "syllabus.pdf", "application/pdf");
        const QString jobId = upload.completion.value("job_id").toString();
        QVERIFY(!jobId.isEmpty());
        const QJsonObject job = server->waitForJob(jobId, token);
        QCOMPARE(job.value("status").toString(), "complete");
        const QJsonObject result = job.value("result").toObject();
        QCOMPARE(result.value("status").toString(), "success");
        QCOMPARE(result.value("course_name").toString(), "BIOL 201 Cell Biology");

        const QJsonObject bootstrap = server->api("GET", "/api/bootstrap", token).json();
        const QJsonObject course = bootstrap.value("courses").toArray().at(0).toObject();
        QCOMPARE(course.value("course_id").toString(), result.value("course_id").toString());
        QCOMPARE(course.value("class_information").toObject().value("class_instructor").toString(),
                 "Dr. Rosalind Franklin");
        const QJsonArray weeks = course.value("study_plan").toObject().value("weeks").toArray();
        QCOMPARE(weeks.size(), 3);
        QCOMPARE(weeks.at(1).toObject().value("topic").toString(), "Membranes and transport");
        const QJsonObject document = bootstrap.value("documents").toArray().at(0).toObject();
        QCOMPARE(document.value("course_id"), course.value("course_id"));
        QCOMPARE(document.value("document_type").toString(), "syllabus");

        // Notes for an existing course skip the check: no job id, no new course.
        const Upload notes = this->upload("Plain lecture notes about ATP synthase.", "notes.txt",
                                          "text/plain", course.value("course_id").toString());
        QVERIFY(!notes.completion.contains("job_id"));
        QCOMPARE(settled(notes.documentId).value("course_id"), course.value("course_id"));
        QCOMPARE(server->api("GET", "/api/bootstrap", token).json().value("courses").toArray().size(), 1);
    }

    void unreadableUploadFailsWithReason() {
        const Upload upload = this->upload("not a pdf at all", "scan.pdf", "application/pdf", {});
        const QJsonObject job = server->waitForJob(upload.completion.value("job_id").toString(), token);
        QCOMPARE(job.value("status").toString(), "failed");
        QVERIFY(!job.value("error").toString().isEmpty());
        const QJsonObject document = settled(upload.documentId);
        QCOMPARE(document.value("status").toString(), "failed");
        QCOMPARE(document.value("failure_reason").toString(), job.value("error").toString());
    }

    void presignedUrlIsSignedAndExpires() {
        const auto initiate = [&] {
            return server
                ->api("POST", "/api/v2/uploads/document/initiate", token,
                      {{"filename", "a.txt"}, {"file_size", 5}, {"content_type", "text/plain"}})
                .json();
        };
        const QJsonObject first = initiate();
        QCOMPARE(first.value("expires_in").toInt(), 900);
        QUrl tampered(first.value("presigned_url").toString());
        tampered.setPath(tampered.path().replace("a.txt", "b.txt"));
        QCOMPARE(server->send("PUT", tampered.toString(), "hello", {{"Content-Type", "text/plain"}}).status,
                 403);
        const QJsonObject early = server
                                      ->api("POST", "/api/v2/uploads/document/complete", token,
                                            {{"document_id", first.value("document_id")},
                                             {"s3_key", first.value("s3_key")},
                                             {"skip_syllabus_extraction", true}})
                                      .json();
        QVERIFY(early.value("detail").toString().contains("not been uploaded"));

        const QJsonObject second = initiate();
        server->advanceClock(901 * 1000);
        QCOMPARE(server
                     ->send("PUT", second.value("presigned_url").toString(), "hello",
                            {{"Content-Type", "text/plain"}})
                     .status,
                 403);
        // Uploads never completed stay out of the library.
        token = server->sessionToken(server->signUp("second@example.com", "study-hard-1"));
        QCOMPARE(server->api("GET", "/api/bootstrap", token).json().value("documents").toArray().size(), 0);
    }

    void uploadSizeIsAByteCountWithinTheLimit() {
        const auto initiate = [&](const QJsonValue& size) {
            return server
                ->api("POST", "/api/v2/uploads/document/initiate", token,
                      {{"filename", "a.txt"}, {"file_size", size}, {"content_type", "text/plain"}})
                .status;
        };
        const qint64 limit = 64LL * 1024 * 1024;
        QCOMPARE(initiate(0), 200);
        QCOMPARE(initiate(limit), 200);
        QCOMPARE(initiate(limit + 1), 413);
        QCOMPARE(initiate(1e300), 413);
        QCOMPARE(initiate(-1), 422);
        QCOMPARE(initiate(-2147483648.0), 422);
        QCOMPARE(initiate(10.5), 422);
        QCOMPARE(initiate("5"), 422);
        QCOMPARE(initiate(QJsonValue::Null), 422);
    }

    // Bytes put but never completed: listed as pending, so nothing offers its notes, until
    // "complete" sends it on to processing.
    void anUploadCutBeforeCompleteIsPending() {
        const QByteArray bytes = "Osmosis is the diffusion of water across a membrane.";
        const QJsonObject presigned =
            server
                ->api("POST", "/api/v2/uploads/document/initiate", token,
                      {{"filename", "cut.txt"}, {"file_size", bytes.size()}, {"content_type", "text/plain"}})
                .json();
        const QString documentId = presigned.value("document_id").toString();
        QCOMPARE(server
                     ->send("PUT", presigned.value("presigned_url").toString(), bytes,
                            {{"Content-Type", "text/plain"}})
                     .status,
                 200);
        const QJsonArray listed =
            server->api("GET", "/api/bootstrap", token).json().value("documents").toArray();
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed[0].toObject().value("id").toString(), documentId);
        QCOMPARE(listed[0].toObject().value("status").toString(), "pending");
        QCOMPARE(server
                     ->api("POST", "/api/bookshelf/generate-summary", token,
                           {{"course_id", ""}, {"document_id", documentId}})
                     .status,
                 409);

        const auto completed = server->api("POST", "/api/v2/uploads/document/complete", token,
                                           {{"document_id", documentId},
                                            {"s3_key", presigned.value("s3_key")},
                                            {"original_filename", "cut.txt"},
                                            {"skip_syllabus_extraction", true}});
        QCOMPARE(completed.status, 200);
        QCOMPARE(settled(documentId).value("status").toString(), "ready");
    }

    // "Regenerate notes": force_regenerate makes notes anew, worded differently when the text
    // allows, stored in place of the old; without it the stored notes are the answer.
    void regeneratedNotesReplaceTheStoredOnes() {
        const QString notes =
            "The mitochondrion is the organelle that produces most of the energy of the cell. "
            "Cellular respiration refers to the process that turns glucose into usable energy. "
            "ATP is a molecule that carries energy within the cell. "
            "The mitochondrion makes ATP during cellular respiration. "
            "Glycolysis splits glucose in the cytoplasm before the mitochondrion takes over.";
        const Upload upload = this->upload(notes.toUtf8(), "respiration.txt", "text/plain", {});
        QCOMPARE(settled(upload.documentId).value("status").toString(), "ready");
        const auto generate = [&](const QJsonValue& force) {
            QJsonObject request{{"course_id", ""}, {"document_id", upload.documentId}};
            if (!force.isUndefined())
                request.insert("force_regenerate", force);
            return server->api("POST", "/api/bookshelf/generate-summary", token, request);
        };
        const auto generated = [&](const QJsonValue& force) {
            const QJsonObject enqueued = generate(force).json();
            if (enqueued.value("status").toString() != "queued")
                return QJsonObject();
            return server->waitForJob(enqueued.value("job_id").toString(), token)
                .value("result")
                .toObject()
                .value("summary")
                .toObject();
        };
        const QJsonObject first = generated(false);
        QVERIFY(!first.value("summary_text").toString().isEmpty());
        // Not forced: the stored notes, at once.
        QCOMPARE(generate(false).json().value("summary"), QJsonValue(first));
        QCOMPARE(generate(QJsonValue(QJsonValue::Undefined)).json().value("summary"), QJsonValue(first));

        const QJsonObject second = generated(true);
        QVERIFY(!second.isEmpty());
        QVERIFY2(second.value("summary_text") != first.value("summary_text"),
                 qPrintable(second.value("summary_text").toString()));
        QVERIFY(second.value("summary_text").toString().contains("mitochondrion"));
        QCOMPARE(server->api("GET", "/api/bookshelf/summaries/" + upload.documentId, token)
                     .json()
                     .value("summary"),
                 QJsonValue(second));
        // Forced again, the notes change again rather than repeat the stored ones.
        const QJsonObject third = generated(true);
        QVERIFY(third.value("summary_text") != second.value("summary_text"));

        for (const QJsonValue& wrong : {QJsonValue("yes"), QJsonValue(1), QJsonValue(QJsonValue::Null)})
            QCOMPARE(generate(wrong).status, 422);
    }

    void deletionAndOwnership() {
        const Upload upload = this->upload("Some text to keep.", "keep.txt", "text/plain", {});
        const QString jobId = upload.completion.value("job_id").toString();
        server->waitForJob(jobId, token);
        const QString otherToken =
            server->sessionToken(server->signUp("intruder@example.com", "study-hard-1"));
        QCOMPARE(server->api("GET", "/api/jobs/" + jobId, otherToken).status, 404);
        QCOMPARE(server->api("DELETE", "/api/documents/" + upload.documentId, otherToken).status, 404);
        const auto deleted = server->api("DELETE", "/api/documents/" + upload.documentId, token);
        QCOMPARE(deleted.status, 200);
        QCOMPARE(deleted.json().value("status").toString(), "deleted");
        QCOMPARE(server->api("GET", "/api/bootstrap", token).json().value("documents").toArray().size(), 0);
        QCOMPARE(server->api("DELETE", "/api/documents/" + upload.documentId, token).status, 404);
    }
};

QTEST_MAIN(LibraryFlowTest)
#include "LibraryFlowTest.moc"
