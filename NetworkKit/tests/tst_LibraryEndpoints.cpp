// Documents, uploads, summaries, syllabus processing, course creation and speech, as they go over
// the wire.
#include "APIError.h"
#include "Courses/CourseAPI.h"
#include "Courses/SyllabusAPI.h"
#include "Documents/DocumentsAPI.h"
#include "EndpointHarness.h"
#include "Speech/SpeechAPI.h"

using namespace std::chrono_literals;

namespace {

QByteArray jobStatus(const char* jobId, const char* status, const QByteArray& result = {}) {
    QByteArray json =
        QByteArray(R"({"job_id":")") + jobId +
        R"(","user_id":"user_2k9XfQ","job_type":"generation","created_at":"2026-02-11T18:39:00Z",)" +
        R"("status":")" + status + "\"";
    if (!result.isEmpty())
        json += R"(,"result":)" + result;
    return json + "}";
}

} // namespace

class LibraryEndpointsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void deletingADocument() {
        EndpointHarness h;
        h.answerJson(R"({"status":"deleted","message":"Document removed"})");
        const DocumentDeleteResponse answer = h.await(DocumentsAPI(h.client()).deleteDocument("doc_9f2c"));
        COMPARE_REQUEST(h.request(), "DELETE", "/api/documents/doc_9f2c", nullptr);
        QCOMPARE(answer.status, QStringLiteral("deleted"));
    }

    void directUploadInThreeSteps() {
        EndpointHarness h;
        const DocumentsAPI api(h.client());
        const DocumentUploadInitiateRequest request{QStringLiteral("lecture-05.pdf"), 734'002,
                                                    QStringLiteral("application/pdf"),
                                                    QStringLiteral("crs_bio201")};
        h.answer(QStringLiteral("upload_initiate.json"));
        DocumentUploadInitiateResponse initiated = h.await(api.initiateUpload(request));
        COMPARE_REQUEST(h.request(), "POST", "/api/v2/uploads/document/initiate",
                        R"({"filename":"lecture-05.pdf","file_size":734002,"content_type":"application/pdf",
                            "course_id":"crs_bio201"})");
        QCOMPARE(EndpointHarness::reencoded(initiated),
                 EndpointHarness::canonical(h.fixture("upload_initiate.json")));

        // The bytes go to the storage URL as they are, with the announced type and without the token.
        initiated.presignedUrl = h.server.baseUrl().toString() + QStringLiteral("/storage/doc_5d1a?sig=abc");
        h.answerJson({});
        h.await(DocumentsAPI::uploadFile(request, initiated, "%PDF-1.7 lecture"));
        const RecordedRequest& put = h.request();
        QCOMPARE(put.method, QByteArray("PUT"));
        QCOMPARE(put.target, QByteArray("/storage/doc_5d1a?sig=abc"));
        QCOMPARE(put.header("content-type"), QByteArray("application/pdf"));
        QVERIFY(!put.header("authorization"));
        QCOMPARE(put.body, QByteArray("%PDF-1.7 lecture"));

        DocumentUploadInitiateRequest untyped = request;
        untyped.contentType.reset();
        h.answerJson({});
        h.await(DocumentsAPI::uploadFile(untyped, initiated, "bytes"));
        QCOMPARE(h.request().header("content-type"), QByteArray("application/octet-stream"));

        h.answer(QStringLiteral("upload_complete.json"));
        const DocumentUploadCompleteResponse completed = h.await(api.completeUpload(
            {initiated.documentId, initiated.s3Key, QStringLiteral("lecture-05.pdf"), std::nullopt, false}));
        COMPARE_REQUEST(h.request(), "POST", "/api/v2/uploads/document/complete",
                        R"({"document_id":"doc_5d1a","s3_key":"u/user_2k9XfQ/doc_5d1a/lecture-05.pdf",
                            "original_filename":"lecture-05.pdf","skip_syllabus_extraction":false})");
        QCOMPARE(EndpointHarness::reencoded(completed),
                 EndpointHarness::canonical(h.fixture("upload_complete.json")));
    }

    void readingASummary() {
        EndpointHarness h;
        h.answer(QStringLiteral("summary.json"));
        const DocumentSummaryResponse summary = h.await(DocumentsAPI(h.client()).summary("doc_9f2c"));
        COMPARE_REQUEST(h.request(), "GET", "/api/bookshelf/summaries/doc_9f2c", nullptr);
        QCOMPARE(EndpointHarness::reencoded(summary), EndpointHarness::canonical(h.fixture("summary.json")));
    }

    void generatingASummaryFollowsTheQueuedJob() {
        EndpointHarness h;
        h.answerJson(R"({"job_id":"job_sum_3","status":"queued","job_type":"summary"})");
        h.answerJson(jobStatus("job_sum_3", "processing"));
        h.answerJson(jobStatus("job_sum_3", "complete", h.fixture("summary.json")));
        const DocumentSummaryResponse summary =
            h.await(DocumentsAPI(h.client())
                        .generateSummary({QStringLiteral("crs_bio201"), QStringLiteral("doc_9f2c")}));

        QCOMPARE(h.server.requestCount(), 3);
        COMPARE_REQUEST(h.request(0), "POST", "/api/bookshelf/generate-summary",
                        R"({"course_id":"crs_bio201","document_id":"doc_9f2c"})");
        COMPARE_REQUEST(h.request(1), "GET", "/api/jobs/job_sum_3", nullptr);
        COMPARE_REQUEST(h.request(2), "GET", "/api/jobs/job_sum_3", nullptr);
        QCOMPARE(h.waits, QList<async::Clock::Duration>{2s});
        QCOMPARE(EndpointHarness::reencoded(summary), EndpointHarness::canonical(h.fixture("summary.json")));
    }

    void aSummaryAnsweredAtOnceNeedsNoJob() {
        EndpointHarness h;
        h.answer(QStringLiteral("summary.json"));
        const DocumentSummaryResponse summary =
            h.await(DocumentsAPI(h.client())
                        .generateSummary({QStringLiteral("crs_bio201"), QStringLiteral("doc_9f2c")}));
        QCOMPARE(h.server.requestCount(), 1);
        QCOMPARE(summary.status.value_or(QString()), QStringLiteral("complete"));
    }

    void syllabusFileGoesUpAsMultipart() {
        EndpointHarness h;
        h.answer(QStringLiteral("syllabus_process.json"));
        const SyllabusProcessResult result =
            h.await(SyllabusAPI(h.client())
                        .processFile(QStringLiteral("ios-pdf"), QStringLiteral("syllabus.pdf"),
                                     QStringLiteral("application/pdf"), "%PDF-1.4 body"));
        const RecordedRequest& post = h.request();
        QCOMPARE(post.method, QByteArray("POST"));
        QCOMPARE(post.target, QByteArray("/api/process-document"));
        const QByteArray contentType = post.header("content-type").value_or(QByteArray());
        QVERIFY(contentType.startsWith("multipart/form-data; boundary=----OBBoundary-"));
        const QByteArray boundary = contentType.mid(contentType.indexOf('=') + 1);
        QCOMPARE(post.body,
                 "--" + boundary + "\r\nContent-Disposition: form-data; name=\"source\"\r\n\r\nios-pdf\r\n" +
                     "--" + boundary +
                     "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"syllabus.pdf\"\r\n" +
                     "Content-Type: application/pdf\r\n\r\n%PDF-1.4 body\r\n--" + boundary + "--\r\n");
        QCOMPARE(EndpointHarness::reencoded(result),
                 EndpointHarness::canonical(h.fixture("syllabus_process.json")));
    }

    void syllabusFilesAreLimitedBeforeAnyRequest() {
        EndpointHarness h;
        const SyllabusAPI api(h.client());
        const auto error = h.failure<SyllabusAPI::SyllabusUploadError>(
            api.processFile("ios-pdf", "big.pdf", "application/pdf", QByteArray(5'500'001, 'x')));
        QCOMPARE(error.bytes(), 5'500'001);
        QCOMPARE(error.limit(), 5'500'000);
        QCOMPARE(error.errorDescription(),
                 QStringLiteral("That syllabus file is too large. Files up to 5.5 MB can be uploaded."));
        QCOMPARE(h.server.requestCount(), 0);

        h.answer(QStringLiteral("syllabus_process.json"));
        h.await(api.processFile("ios-pdf", "fits.pdf", "application/pdf", QByteArray(5'500'000, 'x')));
        QCOMPARE(h.server.requestCount(), 1);
    }

    void syllabusTextFollowsTheQueuedJob() {
        EndpointHarness h;
        h.answerJson(R"({"job_id":"job_syl_8","status":"queued","job_type":"syllabus_text"})");
        h.answerJson(jobStatus("job_syl_8", "complete",
                               R"({"document_id":"doc_scan_2","chunk_count":3,"source":"ios-scan"})"));
        const SyllabusTextJobResult result = h.await(
            SyllabusAPI(h.client())
                .processText(
                    {QStringLiteral("BIOL 201 Cell Biology. Instructor: Dr. Raman. Meets Mon/Wed 10:00."),
                     QStringLiteral("ios-scan"), QStringLiteral("3-page scan")}));
        COMPARE_REQUEST(
            h.request(0), "POST", "/api/process-document",
            R"({"document_content":"BIOL 201 Cell Biology. Instructor: Dr. Raman. Meets Mon/Wed 10:00.",
                            "source":"ios-scan","filename":"3-page scan"})");
        COMPARE_REQUEST(h.request(1), "GET", "/api/jobs/job_syl_8", nullptr);
        QCOMPARE(result.documentId.value_or(QString()), QStringLiteral("doc_scan_2"));
        QCOMPARE(result.chunkCount, 3);
    }

    void creatingAClassAndItsStudyPlan() {
        EndpointHarness h;
        const CourseAPI api(h.client());
        ClassInfoRequest request;
        request.classTitle = QStringLiteral("CHEM 110 — General Chemistry");
        request.classInstructor = QStringLiteral("Dr. Lee");
        request.topics = QStringList{QStringLiteral("Stoichiometry"), QStringLiteral("Gas laws")};
        h.answer(QStringLiteral("class_info.json"));
        const ClassInfoResponse created = h.await(api.createClass(request));
        COMPARE_REQUEST(h.request(), "POST", "/api/class-info",
                        R"({"class_title":"CHEM 110 — General Chemistry","class_instructor":"Dr. Lee",
                            "topics":["Stoichiometry","Gas laws"]})");
        QCOMPARE(EndpointHarness::reencoded(created),
                 EndpointHarness::canonical(h.fixture("class_info.json")));

        SyllabusInfoRequest syllabus;
        syllabus.courseName = QStringLiteral("CHEM 110 — General Chemistry");
        syllabus.meetingTimes = QStringLiteral("Tue/Thu 9am");
        syllabus.learningObjectives =
            QList<QString>{QStringLiteral("Stoichiometry"), QStringLiteral("Gas laws")};
        h.answerJson(R"({"status":"success","message":"Study plan generation started"})");
        const StudyPlanGenerationResponse plan =
            h.await(api.generateStudyPlan({*created.courseId, syllabus}));
        COMPARE_REQUEST(
            h.request(), "POST", "/api/generate-study-plan",
            R"({"course_id":"crs_chem110","syllabus_info":{"course_name":"CHEM 110 — General Chemistry",
                            "meeting_times":"Tue/Thu 9am","learning_objectives":["Stoichiometry","Gas laws"]}})");
        QCOMPARE(plan.status.value_or(QString()), QStringLiteral("success"));
    }

    void speakingAText() {
        EndpointHarness h;
        h.answer(QStringLiteral("tts_speak.json"));
        const TTSSpeakResponse clip =
            h.await(SpeechAPI(h.client())
                        .speak({QStringLiteral("Osmosis is the diffusion of water."), QStringLiteral("alloy"),
                                std::nullopt}));
        COMPARE_REQUEST(h.request(), "POST", "/api/tts/speak",
                        R"({"text":"Osmosis is the diffusion of water.","voice":"alloy"})");
        QCOMPARE(EndpointHarness::reencoded(clip), EndpointHarness::canonical(h.fixture("tts_speak.json")));
    }

    // A busy speech service is asked again after the wait it advises, three times in all; without
    // Retry-After its 503 is final.
    void busySpeechIsAskedAgainAfterItsWait() {
        const auto busy = [](QByteArray seconds) {
            ScriptedResponse answer =
                ScriptedResponse::json(503, R"({"detail":"Read-aloud is busy. Try again in 2 seconds."})");
            if (!seconds.isEmpty())
                answer.headers.append({"Retry-After", seconds});
            return answer;
        };
        const TTSSpeakRequest request{QStringLiteral("Osmosis."), std::nullopt, std::nullopt};
        EndpointHarness h;
        h.server.enqueue(busy("2"));
        h.server.enqueue(busy("1"));
        h.answer(QStringLiteral("tts_speak.json"));
        h.await(SpeechAPI(h.client()).speak(request));
        QCOMPARE(h.server.requests().size(), 3);
        QCOMPARE(h.waits, (QList<async::Clock::Duration>{2s, 1s}));

        EndpointHarness gaveUp;
        for (int i = 0; i < SpeechAPI::busyAttempts + 1; ++i)
            gaveUp.server.enqueue(busy("2"));
        const APIError error = gaveUp.failure<APIError>(SpeechAPI(gaveUp.client()).speak(request));
        QCOMPARE(error.status(), 503);
        QCOMPARE(error.errorDescription(),
                 R"(Request failed (503). {"detail":"Read-aloud is busy. Try again in 2 seconds."})");
        QCOMPARE(gaveUp.server.requests().size(), SpeechAPI::busyAttempts);

        EndpointHarness noAdvice;
        noAdvice.server.enqueue(busy({}));
        QCOMPARE(noAdvice.failure<APIError>(SpeechAPI(noAdvice.client()).speak(request)).status(), 503);
        QCOMPARE(noAdvice.server.requests().size(), 1);
        QVERIFY(noAdvice.waits.isEmpty());
    }

    void narratingADocumentAndFollowingItsJob() {
        EndpointHarness h;
        const SpeechAPI api(h.client());
        h.answerJson(R"({"job_id":"job_nar_12"})");
        const DocumentNarrationSubmitResponse submitted =
            h.await(api.narrateDocument("doc_9f2c", {std::nullopt, QStringLiteral("alloy")}));
        COMPARE_REQUEST(h.request(), "POST", "/api/tts/document/doc_9f2c", R"({"voice":"alloy"})");
        QCOMPARE(submitted.jobId.value_or(QString()), QStringLiteral("job_nar_12"));
        QVERIFY(!submitted.playlist);

        h.answer(QStringLiteral("narration_job.json"));
        const DocumentNarrationJobResponse job = h.await(api.narrationJob(*submitted.jobId));
        COMPARE_REQUEST(h.request(), "GET", "/api/jobs/job_nar_12", nullptr);
        QCOMPARE(EndpointHarness::reencoded(job),
                 EndpointHarness::canonical(h.fixture("narration_job.json")));
    }
};

QTEST_GUILESS_MAIN(LibraryEndpointsTest)
#include "tst_LibraryEndpoints.moc"
