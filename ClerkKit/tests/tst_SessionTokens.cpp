// Session tokens: one request serves every concurrent caller, cached tokens are reused until they
// come within the expiration buffer, and the polling loop backs off after failures.
#include "FrontendApiFixture.h"

#include "ClerkClientError.h"
#include "SessionPoller.h"

using namespace std::chrono_literals;

namespace {

const QByteArray tokensPath = "/v1/client/sessions/sess_1/tokens";

// Signs the fixture's client in with session "sess_1".
void signIn(FrontendApiFixture& f) {
    const QByteArray client =
        FrontendApiFixture::clientJson("client_1", {FrontendApiFixture::sessionJson("sess_1")}, "sess_1");
    f.clerk->applyResponseClient(json::decode<Client>(client), ClerkNetworkingPipeline::nextSequence(),
                                 std::nullopt);
}

ScriptedResponse tokenAnswer(const QString& jwt) {
    return ScriptedResponse::json(200, R"({"object":"token","jwt":")" + jwt.toLatin1() + R"("})");
}

async::Task<void> collect(async::Task<TokenResource> task, QStringList* jwts, QStringList* errors) {
    try {
        *jwts << (co_await std::move(task)).jwt;
    } catch (const std::exception& e) {
        *errors << QString::fromUtf8(e.what());
    }
}

bool waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 20'000);
}

// Runs the operation's scripted outcomes in turn (true: success).
async::Task<void> scripted(QList<bool>* outcomes) {
    if (!outcomes->takeFirst())
        throw std::runtime_error("poll failed");
    co_return;
}

} // namespace

class SessionTokensTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void concurrentCallersShareOneRequest() {
        FrontendApiFixture f;
        signIn(f);
        const QString jwt = FrontendApiFixture::jwt(f.clock.now(), 60);
        f.server.enqueue(ScriptedResponse::held(tokenAnswer(jwt)));
        QStringList jwts, errors;
        for (int i = 0; i < 10; ++i)
            f.scope.spawn(
                collect(f.clerk->session()->getToken(Session::GetTokenOptions{}, *f.clerk), &jwts, &errors));
        QVERIFY(waitFor([&] { return f.server.heldCount() == 1; }));
        QCOMPARE(f.clerk->tokenFetcher().inFlightCount(), 1);
        f.server.releaseHeld();
        QVERIFY(waitFor([&] { return jwts.size() == 10; }));
        QCOMPARE(jwts, QStringList(10, jwt));
        QCOMPARE(f.server.requestCount(), 1);
        QCOMPARE(f.server.requests().at(0).method, QByteArray("POST"));
        QCOMPARE(f.server.requests().at(0).path, tokensPath);
        QCOMPARE(f.server.requests().at(0).body, QByteArray("organization_id="));
        QCOMPARE(f.clerk->tokenFetcher().inFlightCount(), 0);
    }

    void cachedTokensAreReusedUntilTheyNearExpiry() {
        FrontendApiFixture f;
        signIn(f);
        const Session session = *f.clerk->session();
        const QString first = FrontendApiFixture::jwt(f.clock.now(), 11);
        f.server.enqueue(tokenAnswer(first));
        TokenResource token;
        QVERIFY(!f.run(session.getToken(Session::GetTokenOptions{}, *f.clerk), &token));
        QVERIFY(!f.run(session.getToken(Session::GetTokenOptions{}, *f.clerk), &token)); // 11 s left: cached
        QCOMPARE(token.jwt, first);
        QCOMPARE(f.server.requestCount(), 1);

        f.clock.advance(1s); // 10 s left: no longer good enough
        const QString second = FrontendApiFixture::jwt(f.clock.now(), 60);
        f.server.enqueue(tokenAnswer(second));
        QVERIFY(!f.run(session.getToken(Session::GetTokenOptions{}, *f.clerk), &token));
        QCOMPARE(token.jwt, second);
        QCOMPARE(f.server.requestCount(), 2);

        // skipCache always asks, and what it gets replaces the cached token.
        const QString third = FrontendApiFixture::jwt(f.clock.now(), 120);
        f.server.enqueue(tokenAnswer(third));
        QVERIFY(!f.run(session.getToken({.skipCache = true}, *f.clerk), &token));
        QVERIFY(!f.run(session.getToken(Session::GetTokenOptions{}, *f.clerk), &token));
        QCOMPARE(token.jwt, third);
        QCOMPARE(f.server.requestCount(), 3);
    }

    void unreadableCachedTokensAreFetchedAnew() {
        FrontendApiFixture f;
        signIn(f);
        const Session session = *f.clerk->session();
        f.server.enqueue(tokenAnswer(QStringLiteral("not.a-jwt")));
        f.server.enqueue(tokenAnswer(FrontendApiFixture::jwt(f.clock.now(), 60)));
        TokenResource token;
        QVERIFY(!f.run(session.getToken(Session::GetTokenOptions{}, *f.clerk), &token));
        QVERIFY(!f.run(session.getToken(Session::GetTokenOptions{}, *f.clerk), &token));
        QCOMPARE(f.server.requestCount(), 2);
        QVERIFY(f.logged("Failed to decode JWT"));
        QVERIFY(!f.logged("not.a-jwt")); // tokens never reach the log
    }

    void aFailedFetchReachesEveryCallerAndIsNotKept() {
        FrontendApiFixture f;
        signIn(f);
        f.server.enqueue(ScriptedResponse::held(ScriptedResponse::json(
            422, R"({"errors":[{"code":"session_ended","message":"Session ended."}]})")));
        QStringList jwts, errors;
        for (int i = 0; i < 3; ++i)
            f.scope.spawn(
                collect(f.clerk->session()->getToken(Session::GetTokenOptions{}, *f.clerk), &jwts, &errors));
        QVERIFY(waitFor([&] { return f.server.heldCount() == 1; }));
        f.server.releaseHeld();
        QVERIFY(waitFor([&] { return errors.size() == 3; }));
        QCOMPARE(errors, QStringList(3, QStringLiteral("Session ended.")));
        QCOMPARE(f.clerk->tokenFetcher().inFlightCount(), 0);

        f.server.enqueue(tokenAnswer(FrontendApiFixture::jwt(f.clock.now(), 60)));
        QVERIFY(!f.run(f.clerk->session()->getToken(Session::GetTokenOptions{}, *f.clerk)));
        QCOMPARE(f.server.requestCount(), 2);
    }

    // The token endpoint answers in the client envelope, whose client is applied; the bare token
    // is still read.
    void tokensArriveInTheClientEnvelopeOrBare() {
        FrontendApiFixture f;
        signIn(f);
        QList<AuthEvent> events;
        connect(f.clerk.get(), &Clerk::authEventReceived, this, [&](AuthEvent e) { events << e; });
        const QString wrapped = FrontendApiFixture::jwt(f.clock.now(), 60);
        const QByteArray client = FrontendApiFixture::clientJson(
            "client_1",
            {FrontendApiFixture::sessionJson("sess_1"), FrontendApiFixture::sessionJson("sess_2")}, "sess_1",
            2000);
        f.server.enqueue(ScriptedResponse::json(200, R"({"response":{"object":"token","jwt":")" +
                                                         wrapped.toLatin1() + R"("},"client":)" + client +
                                                         "}"));
        TokenResource token;
        QVERIFY(!f.run(f.clerk->session()->getToken(Session::GetTokenOptions{}, *f.clerk), &token));
        QCOMPARE(token.jwt, wrapped);
        QCOMPARE(f.clerk->client()->sessions.size(), 2);
        QVERIFY(!f.run(f.clerk->session()->getToken(Session::GetTokenOptions{}, *f.clerk), &token));
        QCOMPARE(f.server.requestCount(), 1); // the envelope's token was cached

        const QString bare = FrontendApiFixture::jwt(f.clock.now(), 60);
        f.server.enqueue(tokenAnswer(bare));
        QVERIFY(!f.run(f.clerk->session()->getToken({.skipCache = true}, *f.clerk), &token));
        QCOMPARE(token.jwt, bare);
        QCOMPARE(f.clerk->client()->sessions.size(), 2);
        QCOMPARE(events, (QList<AuthEvent>{AuthEvent::tokenRefreshed, AuthEvent::tokenRefreshed}));
    }

    void templatesHaveTheirOwnPathAndCacheEntry() {
        FrontendApiFixture f;
        signIn(f);
        f.server.enqueue(tokenAnswer(FrontendApiFixture::jwt(f.clock.now(), 60)));
        f.server.enqueue(tokenAnswer(FrontendApiFixture::jwt(f.clock.now(), 60)));
        QVERIFY(!f.run(f.clerk->session()->getToken({.template_ = QStringLiteral("backend")}, *f.clerk)));
        QVERIFY(!f.run(f.clerk->session()->getToken(Session::GetTokenOptions{}, *f.clerk)));
        QCOMPARE(f.server.requests().at(0).path, tokensPath + "/backend");
        QCOMPARE(f.server.requests().at(1).path, tokensPath);
        QCOMPARE(SessionTokenFetcher::cacheKey("sess_1", QStringLiteral("backend")),
                 QStringLiteral("sess_1-backend"));
    }

    void cancellingTheFetcherEndsItsRequestsAndFailsItsCallers() {
        FrontendApiFixture f;
        signIn(f);
        f.server.enqueue(ScriptedResponse::held(tokenAnswer(FrontendApiFixture::jwt(f.clock.now(), 60))));
        QStringList jwts, errors;
        f.scope.spawn(
            collect(f.clerk->session()->getToken(Session::GetTokenOptions{}, *f.clerk), &jwts, &errors));
        QVERIFY(waitFor([&] { return f.server.heldCount() == 1; }));
        f.clerk->tokenFetcher().cancelAll();
        QVERIFY(waitFor([&] { return errors.size() == 1; }));
        QCOMPARE(errors.first(), QStringLiteral("cancelled"));
        QVERIFY(waitFor([&] { return f.server.clientAbortsWhileHeld() == 1; }));
    }

    void signingOutEmptiesTheTokenCache() {
        FrontendApiFixture f;
        signIn(f);
        const Session session = *f.clerk->session();
        f.server.enqueue(tokenAnswer(FrontendApiFixture::jwt(f.clock.now(), 60)));
        QVERIFY(!f.run(session.getToken(Session::GetTokenOptions{}, *f.clerk)));
        f.clerk->applyResponseClient(std::nullopt, ClerkNetworkingPipeline::nextSequence(), std::nullopt);
        QVERIFY(!f.clerk->session());
        signIn(f);
        f.server.enqueue(tokenAnswer(FrontendApiFixture::jwt(f.clock.now(), 60)));
        QVERIFY(!f.run(session.getToken(Session::GetTokenOptions{}, *f.clerk)));
        QCOMPARE(f.server.requestCount(), 2);
    }

    void tokensNeedAConfiguredClient() {
        Clerk clerk(std::make_shared<InMemorySecretStore>());
        async::TaskScope scope;
        QString message;
        scope.spawn(
            Session{}.getToken(Session::GetTokenOptions{}, clerk), [](const TokenResource&) {},
            [&](std::exception_ptr e) { message = errorAs<ClerkClientError>(e).message(); });
        QCOMPARE(message, QStringLiteral("Clerk must be configured before getting a session token."));
    }

    void pollingBacksOffAfterFailuresAndResetsOnSuccess() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        QList<bool> outcomes{true, false, false, false, false, true};
        SessionPoller poller([] { return 1.2; });
        poller.start([&outcomes] { return scripted(&outcomes); });
        const QList<std::chrono::milliseconds> expected{5s, 5s, 12s, 24s, 48s, 72s};
        for (const auto wait : expected) {
            QCOMPARE(clock.nextTimerIn(), wait);
            clock.advanceToNextTimer();
        }
        QVERIFY(outcomes.isEmpty());
        QCOMPARE(clock.nextTimerIn(), 5s); // the success reset the backoff
        poller.stop();
        QCOMPARE(clock.pendingTimers(), 0);
    }
};

QTEST_GUILESS_MAIN(SessionTokensTest)
#include "tst_SessionTokens.moc"
