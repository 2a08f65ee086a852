// Following generation jobs: the inline-or-queued rule and the polling loop on virtual time.
#include "JobsAPI.h"
#include "ScriptedHttpServer.h"
#include "TaskProbe.h"
#include "VirtualClock.h"

#include <QtTest>

using namespace std::chrono_literals;

namespace {

struct Summary {
    QString summary;
    JSON_RECORD(Summary, summary)
};

// A payload that happens to carry the job keys too.
struct Lookalike {
    QString jobId;
    QString status;
    QString jobType;
    std::optional<QString> title;
    JSON_RECORD(Lookalike, jobId, status, jobType, title)
};

async::Task<std::optional<QString>> noToken() {
    co_return std::nullopt;
}

QByteArray jobStatus(const char* status, const QByteArray& extra = {}) {
    return R"({"job_id":"job 1","user_id":"u1","job_type":"summary","status":")" + QByteArray(status) +
           R"(","created_at":"2026-12-05T10:00:00Z")" + extra + "}";
}

} // namespace

class GenerationJobsTest : public QObject {
    Q_OBJECT

    async::VirtualClock clock;
    std::unique_ptr<async::ScopedClock> useClock;

    JobsAPI jobsFor(const ScriptedHttpServer& server) {
        return JobsAPI(APIClient(server.baseUrl(), noToken));
    }

    template <class T> void pollUntilDone(TaskProbe<T>& probe) {
        QVERIFY(probe.runOnVirtualTime(clock, JobsAPI::pollInterval));
    }

private Q_SLOTS:
    void initTestCase() { useClock = std::make_unique<async::ScopedClock>(clock); }

    void queuedAnswersAreJobsAndEverythingElseIsThePayload() {
        using Answer = InlineOrEnqueued<Summary>;
        const Answer queued =
            json::decode<Answer>(R"({"job_id":"j","status":"queued","job_type":"summary"})");
        QVERIFY(queued.job());
        QCOMPARE(queued.job()->jobId, QStringLiteral("j"));

        const Answer inlined = json::decode<Answer>(R"({"summary":"Cells divide."})");
        QCOMPARE(inlined.payload()->summary, QStringLiteral("Cells divide."));

        // A finished job's keys are not a payload: the payload's own decode fails.
        QVERIFY_THROWS_EXCEPTION(
            json::DecodingError,
            json::decode<Answer>(R"({"job_id":"j","status":"complete","job_type":"summary"})"));
        // Nor is a job with a non-string status.
        QVERIFY_THROWS_EXCEPTION(json::DecodingError,
                                 json::decode<Answer>(R"({"job_id":"j","status":1,"job_type":"summary"})"));

        using Tricky = InlineOrEnqueued<Lookalike>;
        QVERIFY(json::decode<Tricky>(R"({"job_id":"j","status":"queued","job_type":"t","title":"x"})").job());
        QCOMPARE(json::decode<Tricky>(R"({"job_id":"j","status":"ready","job_type":"t","title":"x"})")
                     .payload()
                     ->title,
                 QStringLiteral("x"));
    }

    void aFinishedJobCostsOneRequest() {
        ScriptedHttpServer server;
        server.enqueue(
            ScriptedResponse::json(200, jobStatus("complete", R"(,"result":{"summary":"Done."})")));
        TaskProbe<Summary> probe(jobsFor(server).waitForResult<Summary>(QStringLiteral("job 1")));
        pollUntilDone(probe);
        QCOMPARE(probe.value().summary, QStringLiteral("Done."));
        QCOMPARE(server.requestCount(), 1);
        QCOMPARE(server.requests()[0].target, QByteArray("/api/jobs/job%201"));
    }

    // The observer hears only the statuses that were read, not the failed fetches.
    void failedFetchesAreRetriedUntilTheJobCompletes() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(500, "oops"));
        server.enqueue(ScriptedResponse::json(200, "not json"));
        server.enqueue(ScriptedResponse::json(200, jobStatus("processing")));
        server.enqueue(ScriptedResponse::json(200, jobStatus("complete", R"(,"result":{"summary":"Ok."})")));
        const QDateTime start = clock.now();
        QList<GenerationJobStatus> heard;
        TaskProbe<Summary> probe(jobsFor(server).waitForResult<Summary>(
            QStringLiteral("j"), JobsAPI::pollInterval, JobsAPI::timeout,
            [&heard](GenerationJobStatus status) { heard << status; }));
        pollUntilDone(probe);
        QCOMPARE(probe.value().summary, QStringLiteral("Ok."));
        QCOMPARE(server.requestCount(), 4);
        QCOMPARE(start.msecsTo(clock.now()), 6000); // three 2-second waits between four fetches
        QCOMPARE(heard, (QList<GenerationJobStatus>{GenerationJobStatus::processing,
                                                    GenerationJobStatus::complete}));
    }

    void finalStatesWithoutAPayloadFail() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, jobStatus("failed")));
        server.enqueue(ScriptedResponse::json(200, jobStatus("failed", R"(,"error":"PDF has no text")")));
        server.enqueue(ScriptedResponse::json(200, jobStatus("complete")));
        const JobsAPI jobs = jobsFor(server);
        const QString expected[] = {
            QStringLiteral("Request failed (500). Generation job failed"),
            QStringLiteral("Request failed (500). PDF has no text"),
            QStringLiteral("Request failed (500). Generation job j completed without a result")};
        for (const QString& text : expected) {
            TaskProbe<Summary> probe(jobs.waitForResult<Summary>(QStringLiteral("j")));
            pollUntilDone(probe);
            QCOMPARE(probe.error<APIError>().errorDescription(), text);
        }
    }

    void aJobThatNeverFinishesHitsTheDeadline() {
        ScriptedHttpServer server;
        int polls = 0;
        server.setHandler([&](const RecordedRequest&) {
            return ScriptedResponse::json(200, jobStatus(++polls < 60 ? "queued" : "processing"));
        });
        const QDateTime start = clock.now();
        TaskProbe<Summary> probe(jobsFor(server).waitForResult<Summary>(QStringLiteral("j")));
        pollUntilDone(probe);
        const APIError e = probe.error<APIError>();
        QCOMPARE(e.status(), 504);
        QCOMPARE(e.body(),
                 QStringLiteral("Generation job j did not finish within 240s (last status: processing)"));
        QCOMPARE(polls, 121); // at 0, 2, …, 240 seconds
        QCOMPARE(start.secsTo(clock.now()), 240);
    }

    void inlineAnswersNeedNoPolling() {
        ScriptedHttpServer server;
        const JobsAPI jobs = jobsFor(server);
        TaskProbe<Summary> probe(
            jobs.resolve(InlineOrEnqueued<Summary>::inlined(Summary{QStringLiteral("Now.")})));
        QVERIFY(probe.done());
        QCOMPARE(probe.value().summary, QStringLiteral("Now."));
        QCOMPARE(server.requestCount(), 0);

        server.enqueue(
            ScriptedResponse::json(200, jobStatus("complete", R"(,"result":{"summary":"Later."})")));
        TaskProbe<Summary> queued(
            jobs.resolve(InlineOrEnqueued<Summary>::enqueued(EnqueuedJob{"q/1", "queued", "summary"})));
        pollUntilDone(queued);
        QCOMPARE(queued.value().summary, QStringLiteral("Later."));
        QCOMPARE(server.requests()[0].target, QByteArray("/api/jobs/q/1"));
    }
};

QTEST_GUILESS_MAIN(GenerationJobsTest)
#include "tst_GenerationJobs.moc"
