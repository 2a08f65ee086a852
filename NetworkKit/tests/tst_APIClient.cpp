// The backend client over real loopback HTTP: what goes over the wire, retries, status handling,
// and how transport failures surface.
#include "APIClient.h"
#include "AuthenticationFailures.h"
#include "EmptyRequestBody.h"
#include "ScriptedHttpServer.h"
#include "TaskProbe.h"
#include "VirtualClock.h"

#include <QtTest>

#include <QTemporaryFile>

using namespace std::chrono_literals;

namespace {

struct Item {
    QString documentId;
    int pageCount = 0;
    JSON_RECORD(Item, documentId, pageCount)
};

struct MaybeItem {
    std::optional<QString> documentId;
    JSON_RECORD(MaybeItem, documentId)
};

struct NewItem {
    QString courseId;
    std::optional<QString> title;
    JSON_RECORD(NewItem, courseId, title)
};

struct TokenFailure : std::runtime_error {
    TokenFailure() : std::runtime_error("no session") {}
};

async::Task<std::optional<QString>> fixedToken(std::optional<QString> token) {
    co_return token;
}
async::Task<std::optional<QString>> failingToken() {
    throw TokenFailure();
    co_return std::nullopt;
}

APIClient clientWithToken(const QUrl& base, std::optional<QString> token = QStringLiteral("tok-123")) {
    return APIClient(base, [token] { return fixedToken(token); });
}

const QByteArray itemJson = R"({"document_id":"d1","page_count":3})";

} // namespace

class APIClientTest : public QObject {
    Q_OBJECT

    async::VirtualClock clock;
    std::unique_ptr<async::ScopedClock> useClock;
    int authFailures = 0;

private Q_SLOTS:
    void initTestCase() {
        useClock = std::make_unique<async::ScopedClock>(clock);
        AuthenticationFailures::setHandler([this] { ++authFailures; });
    }
    void cleanupTestCase() { AuthenticationFailures::setHandler({}); }
    void init() { authFailures = 0; }

    void requestsCarryPathQueryAndHeaders() {
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(200, itemJson); });
        QUrl base = server.baseUrl();
        base.setPath(QStringLiteral("/base"));
        const APIClient client = clientWithToken(base);

        TaskProbe<Item> get(client.get<Item>(QStringLiteral("/api/x?limit=10&q=a%20b")));
        QTRY_VERIFY(get.done());
        QCOMPARE(get.value().documentId, QStringLiteral("d1"));
        TaskProbe<Item> del(client.delete_<Item>(QStringLiteral("/api/jobs/a%2Fb")));
        QTRY_VERIFY(del.done());
        TaskProbe<Item> post(
            client.post<Item>(QStringLiteral("/api/items"), NewItem{QStringLiteral("c1"), {}}));
        QTRY_VERIFY(post.done());

        const auto& r = server.requests();
        QCOMPARE(r.size(), 3);
        QCOMPARE(r[0].method, QByteArray("GET"));
        QCOMPARE(r[0].path, QByteArray("/base/api/x"));
        QCOMPARE(r[0].query, QByteArray("limit=10&q=a%20b"));
        QCOMPARE(r[1].method, QByteArray("DELETE"));
        QCOMPARE(r[1].target, QByteArray("/base/api/jobs/a%2Fb"));
        QVERIFY(!r[1].hasQuery);
        QCOMPARE(r[2].body, QByteArray(R"({"course_id":"c1"})"));
        for (const auto& request : r) {
            QCOMPARE(request.header("Content-Type"), QByteArray("application/json"));
            QCOMPARE(request.header("Accept"), QByteArray("application/json"));
            QCOMPARE(request.header("Authorization"), QByteArray("Bearer tok-123"));
        }
    }

    void missingOrEmptyTokensSendNoAuthorization() {
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest&) { return ScriptedResponse::json(200, "{}"); });
        TaskProbe<EmptyRequestBody> empty(
            clientWithToken(server.baseUrl(), QString()).get<EmptyRequestBody>("/a"));
        TaskProbe<EmptyRequestBody> none(
            clientWithToken(server.baseUrl(), std::nullopt).get<EmptyRequestBody>("/b"));
        QTRY_VERIFY(empty.succeeded() && none.succeeded());
        QCOMPARE(server.requestCount(), 2);
        QVERIFY(!server.requests()[0].header("Authorization"));
        QVERIFY(!server.requests()[1].header("Authorization"));
    }

    void aFailingTokenProviderStopsTheCall() {
        ScriptedHttpServer server;
        const APIClient client(server.baseUrl(), [] { return failingToken(); });
        TaskProbe<Item> probe(client.get<Item>(QStringLiteral("/api/x")));
        QTRY_VERIFY(probe.done());
        probe.error<TokenFailure>(); // the provider's own error, unchanged
        QCOMPARE(authFailures, 1);
        QCOMPARE(server.requestCount(), 0);
    }

    void unauthorizedReportsOneFailureAndNeverRetries() {
        ScriptedHttpServer server;
        server.setHandler(
            [](const RecordedRequest&) { return ScriptedResponse::json(401, R"({"error":"expired"})"); });
        TaskProbe<Item> probe(clientWithToken(server.baseUrl()).get<Item>(QStringLiteral("/api/x")));
        QTRY_VERIFY(probe.done());
        const APIError e = probe.error<APIError>();
        QCOMPARE(e.kind(), APIError::Kind::unauthorized);
        QCOMPARE(e.errorDescription(), QStringLiteral("You are not signed in."));
        QCOMPARE(authFailures, 1);
        QCOMPARE(server.requestCount(), 1);
    }

    void getRetriesOnceAfterAGatewayErrorButPostDoesNot() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(503, "busy"));
        server.enqueue(ScriptedResponse::json(200, itemJson));
        const APIClient client = clientWithToken(server.baseUrl());
        TaskProbe<Item> get(client.get<Item>(QStringLiteral("/api/x")));
        QTRY_COMPARE(clock.nextTimerIn(), 1500ms); // answered 503, now waiting
        QCOMPARE(server.requestCount(), 1);
        clock.advance(1500ms);
        QTRY_VERIFY(get.done());
        QCOMPARE(get.value().pageCount, 3);
        QCOMPARE(server.requests()[1].header("Authorization"), QByteArray("Bearer tok-123"));

        server.enqueue(ScriptedResponse::json(503, "busy"));
        TaskProbe<Item> post(client.post<Item>(QStringLiteral("/api/x"), NewItem{QStringLiteral("c"), {}}));
        QTRY_VERIFY(post.done());
        const APIError e = post.error<APIError>();
        QCOMPARE(e.status(), 503);
        QCOMPARE(e.body(), QStringLiteral("busy"));
        QCOMPARE(e.errorDescription(), QStringLiteral("Request failed (503). busy"));
        QCOMPARE(server.requestCount(), 3);
    }

    void getTimingOutTwiceFailsAfterOneWait() {
        ScriptedHttpServer server;
        server.setHandler(
            [](const RecordedRequest&) { return ScriptedResponse::held(ScriptedResponse::json(200, "{}")); });
        TaskProbe<Item> probe(clientWithToken(server.baseUrl()).get<Item>(QStringLiteral("/api/slow")));
        QTRY_COMPARE(server.heldCount(), 1);
        clock.advance(60s); // silence for the whole request timeout
        QCOMPARE(clock.nextTimerIn(), 1500ms);
        QCOMPARE(server.requestCount(), 1);
        clock.advance(1500ms);
        QTRY_COMPARE(server.requestCount(), 2);
        QTRY_COMPARE(server.heldCount(), 1);
        clock.advance(60s);
        QTRY_VERIFY(probe.done());
        const APIError e = probe.error<APIError>();
        QCOMPARE(e.kind(), APIError::Kind::transport);
        QCOMPARE(e.transportCode(), URLError::Code::timedOut);
        QCOMPARE(e.errorDescription(), QStringLiteral("Network error: The request timed out."));
        QCOMPARE(server.requestCount(), 2);
    }

    void postTimingOutFailsAtOnce() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::held(ScriptedResponse::json(200, "{}")));
        TaskProbe<Item> probe(
            clientWithToken(server.baseUrl()).post<Item>(QStringLiteral("/api/x"), NewItem{}));
        QTRY_COMPARE(server.heldCount(), 1);
        clock.advance(60s);
        QTRY_VERIFY(probe.done());
        QCOMPARE(probe.error<APIError>().transportCode(), URLError::Code::timedOut);
        QCOMPARE(clock.pendingTimers(), 0);
    }

    void transportFailuresMapToTheirCodes() {
        ScriptedHttpServer dropping;
        dropping.setHandler([](const RecordedRequest&) { return ScriptedResponse::dropped(); });
        const QUrl closed(QStringLiteral("http://127.0.0.1:%1").arg(ScriptedHttpServer::closedPort()));
        const QUrl unknownHost(QStringLiteral("http://no-such-host.invalid"));

        const struct {
            QUrl base;
            URLError::Code code;
            QString text;
        } cases[] = {
            {dropping.baseUrl(), URLError::Code::networkConnectionLost,
             "Network error: The network connection was lost."},
            {closed, URLError::Code::cannotConnectToHost, "Network error: Could not connect to the server."},
            {unknownHost, URLError::Code::cannotFindHost,
             "Network error: A server with the specified hostname could not be found."},
        };
        for (const auto& c : cases) {
            TaskProbe<Item> probe(clientWithToken(c.base).post<Item>(QStringLiteral("/api/x"), NewItem{}));
            QTRY_VERIFY(probe.done());
            const APIError e = probe.error<APIError>();
            QCOMPARE(e.transportCode(), c.code);
            QCOMPARE(e.errorDescription(), c.text);
        }

        // The same failures are worth one more try for a GET.
        TaskProbe<Item> get(clientWithToken(closed).get<Item>(QStringLiteral("/api/x")));
        QTRY_COMPARE(clock.nextTimerIn(), 1500ms);
        clock.advance(1500ms);
        QTRY_VERIFY(get.done());
        QCOMPARE(get.error<APIError>().transportCode(), URLError::Code::cannotConnectToHost);
    }

    void answersThatDoNotDecode() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, ""));
        server.enqueue(ScriptedResponse::json(200, "{}"));
        server.enqueue(ScriptedResponse::json(200, "{}"));
        server.enqueue(ScriptedResponse::json(500, QByteArray("\xff\xfe broken", 9)));
        const APIClient client = clientWithToken(server.baseUrl());

        TaskProbe<Item> empty(client.get<Item>(QStringLiteral("/a")));
        QTRY_VERIFY(empty.done());
        QCOMPARE(
            empty.error<APIError>().errorDescription(),
            QStringLiteral("Couldn't read the server response: The data couldn’t be read because it isn’t in "
                           "the correct format."));
        TaskProbe<Item> missing(client.get<Item>(QStringLiteral("/b")));
        QTRY_VERIFY(missing.done());
        QCOMPARE(missing.error<APIError>().errorDescription(),
                 QStringLiteral(
                     "Couldn't read the server response: The data couldn’t be read because it is missing."));
        TaskProbe<MaybeItem> optional(client.get<MaybeItem>(QStringLiteral("/c")));
        QTRY_VERIFY(optional.succeeded());

        TaskProbe<Item> binary(client.post<Item>(QStringLiteral("/d"), NewItem{}));
        QTRY_VERIFY(binary.done());
        const APIError e = binary.error<APIError>();
        QCOMPARE(e.status(), 500);
        QVERIFY(!e.body());
        QCOMPARE(e.errorDescription(), QStringLiteral("Request failed (500)."));
    }

    void redirectsStayOnTheBackendOrigin() {
        ScriptedHttpServer server;
        const QByteArray elsewhere = QStringLiteral("http://localhost:%1/api/moved?x=1")
                                         .arg(ScriptedHttpServer::closedPort())
                                         .toUtf8();
        ScriptedResponse redirect;
        redirect.status = 302;
        redirect.headers = {{"Location", elsewhere}};
        server.enqueue(redirect);
        server.enqueue(ScriptedResponse::json(200, itemJson));
        TaskProbe<Item> probe(clientWithToken(server.baseUrl()).get<Item>(QStringLiteral("/api/old")));
        QTRY_VERIFY(probe.done());
        QVERIFY(probe.succeeded());
        QCOMPARE(server.requests()[1].target, QByteArray("/api/moved?x=1"));
    }

    void invalidPathsFailBeforeSending() {
        for (const QString& path : {QStringLiteral("/a b"), QStringLiteral("/a%zz"),
                                    QStringLiteral("/a?q=%2"), QStringLiteral("/é")}) {
            TaskProbe<Item> probe(
                clientWithToken(QUrl(QStringLiteral("http://127.0.0.1:1"))).post<Item>(path, NewItem{}));
            QVERIFY(probe.done()); // before any network activity
            const APIError e = probe.error<APIError>();
            QCOMPARE(e.status(), -1);
            QCOMPARE(e.body(), QStringLiteral("invalid path: ") + path);
        }
    }

    void multipartAndFormBodiesAreExact() {
        const APIClient::MultipartFile file{QStringLiteral("file"), QStringLiteral("notes.pdf"),
                                            QStringLiteral("application/pdf"), QByteArray("%PDF\x00\x01", 6)};
        QCOMPARE(APIClient::multipartBody("B", {}, file),
                 "--B\r\nContent-Disposition: form-data; name=\"file\"; filename=\"notes.pdf\"\r\n"
                 "Content-Type: application/pdf\r\n\r\n" +
                     file.data + "\r\n--B--\r\n");
        QCOMPARE(APIClient::multipartBody("B", {{QStringLiteral("course_id"), QStringLiteral("c 1")}}, file),
                 "--B\r\nContent-Disposition: form-data; name=\"course_id\"\r\n\r\nc 1\r\n" +
                     APIClient::multipartBody("B", {}, file));
        const QByteArray boundary = APIClient::makeBoundary();
        QVERIFY(QRegularExpression(
                    QStringLiteral(
                        "^----OBBoundary-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"))
                    .match(QString::fromLatin1(boundary))
                    .hasMatch());

        QCOMPARE(APIClient::formBody(
                     {{QStringLiteral("text"), QStringLiteral("a b&c=d~é")}, {QStringLiteral("k-._~"), {}}}),
                 QByteArray("text=a%20b%26c%3Dd~%C3%A9&k-._~="));
    }

    void multipartGoesOutWithItsBoundary() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::json(200, itemJson));
        const APIClient::MultipartFile file{QStringLiteral("file"), QStringLiteral("a.txt"),
                                            QStringLiteral("text/plain"), "hello"};
        TaskProbe<Item> probe(clientWithToken(server.baseUrl())
                                  .postMultipart<Item>(QStringLiteral("/api/process-document"),
                                                       {{QStringLiteral("course_id"), QStringLiteral("c1")}},
                                                       file));
        QTRY_VERIFY(probe.succeeded());
        const RecordedRequest& r = server.requests().first();
        const QByteArray contentType = r.header("Content-Type").value_or("");
        QVERIFY(contentType.startsWith("multipart/form-data; boundary=----OBBoundary-"));
        const QByteArray boundary = contentType.mid(contentType.indexOf('=') + 1);
        QCOMPARE(r.body, APIClient::multipartBody(
                             boundary, {{QStringLiteral("course_id"), QStringLiteral("c1")}}, file));
    }

    void presignedUploadsGoBare() {
        ScriptedHttpServer storage;
        storage.enqueue(ScriptedResponse::json(200, ""));
        storage.enqueue(ScriptedResponse::json(403, "<Error/>"));
        const QUrl url = storage.baseUrl().resolved(QUrl(QStringLiteral("/storage/u1/doc?sig=abc&exp=9")));
        TaskProbe<void> ok(APIClient::uploadToPresignedURL(url, "bytes", QStringLiteral("application/pdf")));
        QTRY_VERIFY(ok.succeeded());
        const RecordedRequest& r = storage.requests().first();
        QCOMPARE(r.method, QByteArray("PUT"));
        QCOMPARE(r.target, QByteArray("/storage/u1/doc?sig=abc&exp=9"));
        QCOMPARE(r.body, QByteArray("bytes"));
        QCOMPARE(r.header("Content-Type"), QByteArray("application/pdf"));
        QVERIFY(!r.header("Authorization"));
        QVERIFY(!r.header("Accept"));

        TaskProbe<void> refused(
            APIClient::uploadToPresignedURL(url, "bytes", QStringLiteral("application/pdf")));
        QTRY_VERIFY(refused.done());
        QCOMPARE(refused.error<APIError>().errorDescription(),
                 QStringLiteral("Request failed (403). S3 PUT failed"));
    }

    // A file goes up from disk in pieces: the body arrives whole, with its length announced, and
    // the progress climbs to the total; a 307 sends it again from its start.
    void presignedUploadStreamsFromDevice() {
        auto file = std::make_shared<QTemporaryFile>();
        QVERIFY(file->open());
        QByteArray content;
        for (int i = 0; content.size() < 3 * 1024 * 1024; ++i)
            content += QByteArray::number(i) + ' ';
        file->write(content);
        file->seek(0);

        ScriptedHttpServer storage;
        ScriptedResponse moved;
        moved.status = 307;
        moved.headers = {{"Location", "/storage/second"}};
        storage.enqueue(moved);
        storage.enqueue(ScriptedResponse::json(200, ""));
        QList<qint64> sent;
        qint64 total = 0;
        TaskProbe<void> probe(APIClient::uploadToPresignedURL(
            storage.baseUrl().resolved(QUrl(QStringLiteral("/storage/first"))), file,
            QStringLiteral("text/plain"), [&](qint64 s, qint64 t) {
                sent << s;
                total = t;
            }));
        QTRY_VERIFY_WITH_TIMEOUT(probe.done(), 20000);
        QVERIFY2(probe.succeeded(), qPrintable(probe.errorText()));
        QCOMPARE(storage.requestCount(), 2);
        for (const RecordedRequest& r : storage.requests()) {
            QCOMPARE(r.header("Content-Length"), QByteArray::number(content.size()));
            QVERIFY(r.body == content);
        }
        QCOMPARE(storage.requests()[1].path, QByteArray("/storage/second"));
        QCOMPARE(total, content.size());
        QCOMPARE(sent.last(), content.size());
    }

    void httpsWithTheTrustedCertificate() {
        ScriptedHttpServer::trustTestCertificate();
        ScriptedHttpServer server(ScriptedHttpServer::Scheme::https);
        server.enqueue(ScriptedResponse::json(200, itemJson));
        TaskProbe<Item> probe(clientWithToken(server.baseUrl()).get<Item>(QStringLiteral("/api/x")));
        QTRY_VERIFY(probe.done());
        QVERIFY(probe.succeeded());
    }

    void cancellingTheCallerAbortsTheRequest() {
        ScriptedHttpServer server;
        server.enqueue(ScriptedResponse::held(ScriptedResponse::json(200, itemJson)));
        auto probe = std::make_unique<TaskProbe<Item>>(
            clientWithToken(server.baseUrl()).get<Item>(QStringLiteral("/x")));
        QTRY_COMPARE(server.heldCount(), 1);
        probe.reset();
        QTRY_COMPARE(server.clientAbortsWhileHeld(), 1);
        QCOMPARE(clock.pendingTimers(), 0);
    }
};

QTEST_GUILESS_MAIN(APIClientTest)
#include "tst_APIClient.moc"
