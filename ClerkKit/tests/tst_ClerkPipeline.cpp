// The request pipeline against a scripted Frontend API: what goes out, how answers change the
// client, which errors come back, and when requests are retried.
#include "FrontendApiFixture.h"

#include "ClerkSecretItem.h"
#include "UnexpectedStatusError.h"

using namespace std::chrono_literals;

namespace {

const QByteArray signInAnswer =
    R"({"response":{"object":"sign_in_attempt","id":"sia_1","status":"needs_first_factor"},)"
    R"("client":)" +
    FrontendApiFixture::clientJson("client_1") + "}";

QByteArray envelope(const QByteArray& client) {
    return R"({"response":{"object":"session","id":"sess_1"},"client":)" + client + "}";
}

QByteArray errorBody(const QByteArray& code) {
    return R"({"errors":[{"code":")" + code + R"(","message":"m"}],"clerk_trace_id":"trace_1"})";
}

async::Task<void> touch(ClerkAPIClient api) {
    co_await api.send("POST", QStringLiteral("/v1/client/sessions/sess_1/touch"), QJsonObject{});
}

async::Task<void> get(ClerkAPIClient api, QString path) {
    co_await api.send("GET", path);
}

bool waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 20'000);
}

} // namespace

class ClerkPipelineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void requestsIdentifyTheDeviceAndCarryAForm() {
        FrontendApiFixture f;
        QList<AuthEvent> events;
        connect(f.clerk.get(), &Clerk::authEventReceived, this, [&](AuthEvent e) { events << e; });
        ScriptedResponse issued = ScriptedResponse::json(200, signInAnswer);
        issued.headers.append(qMakePair(QByteArray("Authorization"), QByteArray("dvc_secret_1")));
        f.server.enqueue(issued);
        f.server.enqueue(ScriptedResponse::json(200, "{}"));

        const QJsonObject form{
            {"identifier", "ada@example.com"}, {"password", "p w&"}, {"locale", QJsonValue()}};
        QVERIFY(!f.run(f.clerk->apiClient().send("POST", QStringLiteral("/v1/client/sign_ins"), form)));
        const RecordedRequest first = f.server.requests().at(0);
        QCOMPARE(first.path, QByteArray("/v1/client/sign_ins"));
        QCOMPARE(first.query, QByteArray("_is_native=true"));
        QCOMPARE(first.body, QByteArray("identifier=ada%40example.com&password=p%20w%26"));
        QCOMPARE(first.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(first.header("clerk-api-version"), QByteArray("2025-11-10"));
        QCOMPARE(first.header("x-ios-sdk-version"), QByteArray("1.2.1"));
        QCOMPARE(first.header("x-mobile"), QByteArray("1"));
        QCOMPARE(first.header("x-device-type"), QByteArray("desktop"));
        QCOMPARE(first.header("x-bundle-id"), QByteArray("com.orbelo.desktop"));
        QVERIFY(first.header("x-is-sandbox"));
        QVERIFY(!first.header("Authorization")); // a new device has no token yet
        QVERIFY(!first.header("x-clerk-client-id"));
        QCOMPARE(f.clerk->client()->id, QStringLiteral("client_1"));
        QCOMPARE(events, QList<AuthEvent>{AuthEvent::signInNeedsContinuation});

        // The token handed out comes back raw, with the client's id, on the next request.
        f.drainPersistence();
        QCOMPARE(f.secrets->data(ClerkSecretItem::deviceToken), QByteArray("dvc_secret_1"));
        ClerkEnvironment environment;
        QVERIFY(!f.run(f.clerk->refreshEnvironment(), &environment));
        const RecordedRequest second = f.server.requests().at(1);
        QCOMPARE(second.header("Authorization"), QByteArray("dvc_secret_1"));
        QCOMPARE(second.header("x-clerk-client-id"), QByteArray("client_1"));
        QVERIFY(!second.hasQuery || second.query == "_is_native=true");
        QVERIFY(second.body.isEmpty());
    }

    void answersApplyClearOrLeaveTheClient() {
        FrontendApiFixture f;
        const QByteArray session = FrontendApiFixture::sessionJson("sess_1");
        f.server.enqueue(ScriptedResponse::json(
            200, envelope(FrontendApiFixture::clientJson("client_1", {session}, "sess_1"))));
        f.server.enqueue(ScriptedResponse::json(200, R"({"response":{"object":"session","id":"sess_1"}})"));
        f.server.enqueue(ScriptedResponse::json(200, R"({"response":{"object":"session"},"client":null})"));
        f.server.enqueue(ScriptedResponse::json(
            200, R"({"response":)" + FrontendApiFixture::clientJson("client_2", {session}, "sess_1") +
                     R"(,"client":null})"));

        QVERIFY(!f.run(touch(f.clerk->apiClient())));
        QCOMPARE(f.clerk->session()->id, QStringLiteral("sess_1"));
        QVERIFY(!f.run(touch(f.clerk->apiClient()))); // no "client" member: nothing changes
        QCOMPARE(f.clerk->client()->id, QStringLiteral("client_1"));
        QVERIFY(!f.run(touch(f.clerk->apiClient())));
        QVERIFY(!f.clerk->client());
        QVERIFY(!f.clerk->session());
        QVERIFY(f.logged("API response explicitly returned client: null. Clearing local client state."));

        // The client resource answers with the client as its "response" and a null "client".
        std::optional<Client> refreshed;
        QVERIFY(!f.run(f.clerk->refreshClient(), &refreshed));
        QCOMPARE(refreshed->id, QStringLiteral("client_2"));
        QCOMPARE(f.clerk->client()->id, QStringLiteral("client_2"));
        f.drainPersistence();
        QVERIFY(f.secrets->data(ClerkSecretItem::cachedClient)->contains("client_2"));
    }

    // An error answer's client is applied like any other; without the member nothing changes.
    void errorAnswersCarryTheClientToo() {
        FrontendApiFixture f;
        const QByteArray session = FrontendApiFixture::sessionJson("sess_1");
        const auto refusal = [](const QByteArray& client) {
            return ScriptedResponse::json(422,
                                          R"({"errors":[{"code":"form_code_incorrect"}])" + client + "}");
        };
        f.server.enqueue(
            refusal(R"(,"client":)" + FrontendApiFixture::clientJson("client_1", {session}, "sess_1")));
        f.server.enqueue(refusal(""));
        f.server.enqueue(refusal(R"(,"client":null)"));

        QVERIFY(f.run(touch(f.clerk->apiClient())));
        QCOMPARE(f.clerk->session()->id, QStringLiteral("sess_1"));
        QVERIFY(f.run(touch(f.clerk->apiClient())));
        QCOMPARE(f.clerk->client()->id, QStringLiteral("client_1"));
        QVERIFY(f.run(touch(f.clerk->apiClient())));
        QVERIFY(!f.clerk->client());
    }

    void signingOutEndsTheActiveSession() {
        FrontendApiFixture f;
        QList<AuthEvent> events;
        connect(f.clerk.get(), &Clerk::authEventReceived, this, [&](AuthEvent e) { events << e; });
        const QByteArray ended = FrontendApiFixture::sessionJson("sess_1", "ended");
        const QByteArray client = FrontendApiFixture::clientJson("client_1", {ended});
        f.clerk->applyResponseClient(json::decode<Client>(FrontendApiFixture::clientJson(
                                         "client_1", {FrontendApiFixture::sessionJson("sess_1")}, "sess_1")),
                                     ClerkNetworkingPipeline::nextSequence(), std::nullopt);
        f.server.enqueue(
            ScriptedResponse::json(200, R"({"response":)" + client + R"(,"client":)" + client + "}"));
        QVERIFY(!f.run(f.clerk->signOut()));
        QCOMPARE(f.server.requests().at(0).method, QByteArray("DELETE"));
        QCOMPARE(f.server.requests().at(0).path, QByteArray("/v1/client/sessions"));
        QVERIFY(!f.clerk->session());
        QCOMPARE(events, QList<AuthEvent>{AuthEvent::signedOut});
    }

    void anOlderAnswerArrivingLateIsIgnored() {
        FrontendApiFixture f;
        f.server.enqueue(ScriptedResponse::held(
            ScriptedResponse::json(200, envelope(FrontendApiFixture::clientJson("client_1", {}, {}, 1000)))));
        f.server.enqueue(
            ScriptedResponse::json(200, envelope(FrontendApiFixture::clientJson("client_1", {}, {}, 2000))));

        bool slowDone = false;
        f.scope.spawn(touch(f.clerk->apiClient()), [&] { slowDone = true; });
        QVERIFY(waitFor([&] { return f.server.heldCount() == 1; }));
        QVERIFY(!f.run(touch(f.clerk->apiClient())));
        const quint64 applied = *f.clerk->lastAppliedClientResponseSequence();
        f.server.releaseHeld();
        QVERIFY(waitFor([&] { return slowDone; }));
        QCOMPARE(f.clerk->client()->updatedAt, ClerkDate::fromMSecsSinceEpoch(2000));
        QVERIFY(f.logged(
            QStringLiteral("Ignoring stale client response. Current sequence: %1, incoming sequence: %2")
                .arg(applied)
                .arg(applied - 1)));
    }

    void aLateAnswerWithALaterServerDateStillApplies() {
        FrontendApiFixture f;
        const QDateTime noon(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC);
        f.server.enqueue(ScriptedResponse::held(FrontendApiFixture::withDate(
            ScriptedResponse::json(200, envelope(FrontendApiFixture::clientJson("client_late"))),
            noon.addSecs(1))));
        f.server.enqueue(FrontendApiFixture::withDate(
            ScriptedResponse::json(200, envelope(FrontendApiFixture::clientJson("client_early"))), noon));

        bool slowDone = false;
        f.scope.spawn(touch(f.clerk->apiClient()), [&] { slowDone = true; });
        QVERIFY(waitFor([&] { return f.server.heldCount() == 1; }));
        QVERIFY(!f.run(touch(f.clerk->apiClient())));
        QCOMPARE(f.clerk->lastClientServerFetchDate(), noon);
        f.server.releaseHeld();
        QVERIFY(waitFor([&] { return slowDone; }));
        QCOMPARE(f.clerk->client()->id, QStringLiteral("client_late"));
        QCOMPARE(f.clerk->lastClientServerFetchDate(), noon.addSecs(1));
    }

    void failedAnswersThrowTheFirstErrorOrTheStatus() {
        FrontendApiFixture f;
        f.server.enqueue(ScriptedResponse::json(
            422, R"({"errors":[{"code":"form_password_incorrect","message":"Password is incorrect.",)"
                 R"("long_message":"Password is incorrect. Try again.","meta":{"param_name":"password"}},)"
                 R"({"code":"second"}],"clerk_trace_id":"trace_9"})"));
        ScriptedResponse plain = ScriptedResponse::json(404, "not here");
        plain.headers = {{"Content-Type", "text/plain"}};
        f.server.enqueue(plain);

        const auto error = errorAs<ClerkAPIError>(f.run(touch(f.clerk->apiClient())));
        QCOMPARE(error.code, QStringLiteral("form_password_incorrect"));
        QCOMPARE(error.clerkTraceId, QStringLiteral("trace_9"));
        QCOMPARE(error.meta->paramName, QStringLiteral("password"));
        QVERIFY(
            f.logged(QStringLiteral("Network request failed for endpoint: %1/v1/client/sessions/sess_1/touch "
                                    "(Status: 422): Password is incorrect. Try again.")
                         .arg(f.server.baseUrl().toString())));
        QCOMPARE(errorAs<UnexpectedStatusError>(f.run(touch(f.clerk->apiClient()))).status(), 404);
    }

    void invalidAuthenticationRefreshesTheClientOnce() {
        FrontendApiFixture f;
        int clientFetches = 0;
        f.server.setHandler([&](const RecordedRequest& request) {
            if (request.path == "/v1/client") {
                if (++clientFetches == 1)
                    return ScriptedResponse::held(
                        ScriptedResponse::json(200, R"({"response":null,"client":null})"));
                return ScriptedResponse::json(401, errorBody("authentication_invalid"));
            }
            return ScriptedResponse::json(401, errorBody("authentication_invalid"));
        });
        QVERIFY(f.run(touch(f.clerk->apiClient())));
        QVERIFY(waitFor([&] { return f.server.heldCount() == 1; }));
        QVERIFY(f.run(touch(f.clerk->apiClient()))); // a refresh is already running
        f.server.releaseHeld();
        QVERIFY(waitFor([&] { return f.clerk->lastAppliedClientResponseSequence().has_value(); }));
        QCOMPARE(f.requestsTo("GET", "/v1/client").size(), 1);

        // A client fetch that fails so never asks for another.
        QVERIFY(f.run(get(f.clerk->apiClient(), QStringLiteral("/v1/client"))));
        QCoreApplication::processEvents();
        QCOMPARE(f.requestsTo("GET", "/v1/client").size(), 2);
        QVERIFY(!f.logged("Failed to refresh client after invalid authentication response"));
    }

    void rateLimitsAndPassingFailuresAreRetriedOnce() {
        FrontendApiFixture f;
        const auto limited = [](QByteArray retryAfter) {
            ScriptedResponse r = ScriptedResponse::json(429, errorBody("too_many_requests"));
            if (!retryAfter.isEmpty())
                r.headers.append(qMakePair(QByteArray("Retry-After"), retryAfter));
            return r;
        };
        const QString url = f.server.baseUrl().toString() + QStringLiteral("/v1/environment");
        const auto retriedAfter = [&](const QString& reason, int ms) {
            return waitFor([&] {
                return f.logged(QStringLiteral("Retrying request: %1 after %2. Backing off for %3ms")
                                    .arg(url, reason)
                                    .arg(ms));
            });
        };

        f.server.enqueue(limited("30"));
        f.server.enqueue(ScriptedResponse::json(200, "{}"));
        bool done = false;
        f.scope.spawn(get(f.clerk->apiClient(), QStringLiteral("/v1/environment")), [&] { done = true; });
        QVERIFY(retriedAfter(QStringLiteral("status 429"), 5000));
        QCOMPARE(f.clock.nextTimerIn(), 5000ms);
        f.clock.advance(4999ms);
        QCOMPARE(f.server.requestCount(), 1);
        f.clock.advance(1ms);
        QVERIFY(waitFor([&] { return done; }));
        QCOMPARE(f.server.requestCount(), 2);

        // A second refusal goes to the caller.
        f.server.enqueue(limited("0"));
        f.server.enqueue(limited(""));
        std::exception_ptr error;
        done = false;
        f.scope.spawn(
            get(f.clerk->apiClient(), QStringLiteral("/v1/environment")), [&] { done = true; },
            [&](std::exception_ptr e) {
                error = e;
                done = true;
            });
        QVERIFY(retriedAfter(QStringLiteral("status 429"), 100));
        f.clock.advance(100ms);
        QVERIFY(waitFor([&] { return done; }));
        QCOMPARE(errorAs<ClerkAPIError>(error).code, QStringLiteral("too_many_requests"));
        QCOMPARE(f.server.requestCount(), 4);
    }

    void statusesOnTheRetryListAreSentAgain_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("retried");
        for (const int status : {408, 425, 429, 500, 502, 503, 504})
            QTest::addRow("%d", status) << status << true;
        for (const int status : {400, 404, 501})
            QTest::addRow("%d", status) << status << false;
    }

    void statusesOnTheRetryListAreSentAgain() {
        QFETCH(int, status);
        QFETCH(bool, retried);
        FrontendApiFixture f;
        f.server.enqueue(ScriptedResponse::json(status, errorBody("e")));
        f.server.enqueue(ScriptedResponse::json(200, "{}"));
        bool done = false;
        f.scope.spawn(
            get(f.clerk->apiClient(), QStringLiteral("/v1/environment")), [&] { done = true; },
            [&](std::exception_ptr) { done = true; });
        if (retried) {
            QVERIFY(waitFor([&] {
                return f.logged(QStringLiteral("Retrying request: %1/v1/environment after status %2. Backing "
                                               "off for 500ms")
                                    .arg(f.server.baseUrl().toString())
                                    .arg(status));
            }));
            QCOMPARE(f.clock.nextTimerIn(), 500ms);
            f.clock.advance(500ms);
        }
        QVERIFY(waitFor([&] { return done; }));
        QCOMPARE(f.server.requestCount(), retried ? 2 : 1);
    }

    // Either code refreshes the client, from any request but the client fetch itself.
    void invalidAuthenticationCodes_data() {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<bool>("refreshes");
        const QString touchPath = QStringLiteral("/v1/client/sessions/sess_1/touch");
        QTest::newRow("authentication_invalid")
            << QByteArray("POST") << touchPath << QByteArray("authentication_invalid") << true;
        QTest::newRow("resource_not_found")
            << QByteArray("POST") << touchPath << QByteArray("resource_not_found") << true;
        QTest::newRow("POST .../client") << QByteArray("POST") << QStringLiteral("/v1/client")
                                         << QByteArray("authentication_invalid") << true;
        QTest::newRow("GET .../client")
            << QByteArray("GET") << QStringLiteral("/v1/client") << QByteArray("resource_not_found") << false;
        QTest::newRow("another code")
            << QByteArray("POST") << touchPath << QByteArray("session_exists") << false;
    }

    void invalidAuthenticationCodes() {
        QFETCH(QByteArray, method);
        QFETCH(QString, path);
        QFETCH(QByteArray, code);
        QFETCH(bool, refreshes);
        FrontendApiFixture f;
        f.server.enqueue(ScriptedResponse::json(401, errorBody(code)));
        f.server.enqueue(ScriptedResponse::json(200, R"({"response":null,"client":null})"));
        QVERIFY(f.run(f.clerk->apiClient().send(method, path)));
        if (refreshes) {
            QVERIFY(waitFor([&] { return f.clerk->lastAppliedClientResponseSequence().has_value(); }));
            QCOMPARE(f.requestsTo("GET", "/v1/client").size(), method == "GET" ? 2 : 1);
        } else {
            QTest::qWait(50);
            QCOMPARE(f.server.requestCount(), 1);
        }
    }

    void unreachableServersAreRetriedAfterHalfASecond() {
        Clerk clerk(std::make_shared<InMemorySecretStore>());
        QStringList logs;
        ClerkOptions options;
        options.telemetryEnabled = false;
        options.loggerHandler = [&](LogLevel, const QString& message) { logs << message; };
        const QString host = QStringLiteral("127.0.0.1:%1").arg(ScriptedHttpServer::closedPort());
        clerk.configure(FrontendApiFixture::publishableKey(host), options);
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        async::TaskScope scope;
        std::exception_ptr error;
        scope.spawn(
            get(clerk.apiClient(), QStringLiteral("/v1/environment")), [] {},
            [&](std::exception_ptr e) { error = e; });
        const QString retry =
            QStringLiteral("Retrying request: https://%1/v1/environment after Could not connect to "
                           "the server.. Backing off for 500ms")
                .arg(host);
        QVERIFY(waitFor([&] { return logs.contains(retry); }));
        QCOMPARE(clock.nextTimerIn(), 500ms);
        clock.advance(500ms);
        QVERIFY(waitFor([&] { return bool(error); }));
        QCOMPARE(errorAs<URLError>(error).code(), URLError::Code::cannotConnectToHost);
        QCOMPARE(logs.count(retry), 1);
    }

    void clientRefreshIsRetriedWithBackoff() {
        FrontendApiFixture f;
        f.server.setHandler(
            [](const RecordedRequest&) { return ScriptedResponse::json(400, errorBody("bad")); });
        std::exception_ptr error;
        bool done = false;
        f.scope.spawn(
            f.clerk->refreshClient(), [&](const std::optional<Client>&) { done = true; },
            [&](std::exception_ptr e) {
                error = e;
                done = true;
            });
        QVERIFY(waitFor([&] {
            return f.logged("Retrying client refresh after failure. Attempt 2 of 3. Backing off for 500ms.");
        }));
        f.clock.advance(500ms);
        QVERIFY(waitFor([&] {
            return f.logged("Retrying client refresh after failure. Attempt 3 of 3. Backing off for 1000ms.");
        }));
        QCOMPARE(f.clock.nextTimerIn(), 1000ms);
        f.clock.advance(1000ms);
        QVERIFY(waitFor([&] { return done; }));
        QCOMPARE(errorAs<ClerkAPIError>(error).code, QStringLiteral("bad"));
        QCOMPARE(f.server.requestCount(), 3);
    }

    void aProxyTakesTheFrontendApisPlace() {
        ScriptedHttpServer::trustTestCertificate();
        ScriptedHttpServer server(ScriptedHttpServer::Scheme::https);
        server.enqueue(ScriptedResponse::json(200, "{}"));
        ClerkOptions options;
        options.telemetryEnabled = false;
        options.proxyUrl = QUrl(server.baseUrl().toString() + QStringLiteral("/auth/__clerk"));
        Clerk clerk(std::make_shared<InMemorySecretStore>());
        clerk.configure(FrontendApiFixture::publishableKey(QStringLiteral("clerk.invalid")), options);
        async::TaskScope scope;
        bool done = false;
        scope.spawn(get(clerk.apiClient(), QStringLiteral("/v1/environment")), [&] { done = true; });
        QVERIFY(waitFor([&] { return done; }));
        QCOMPARE(server.requests().at(0).path, QByteArray("/auth/__clerk/v1/environment"));
        QCOMPARE(server.requests().at(0).query, QByteArray("_is_native=true"));
    }
};

QTEST_GUILESS_MAIN(ClerkPipelineTest)
#include "tst_ClerkPipeline.moc"
