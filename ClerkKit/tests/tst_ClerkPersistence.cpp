// Configuration, loading and the state kept in secure storage across launches.
#include "FrontendApiFixture.h"

#include "CacheManager.h"
#include "ClerkInitializationError.h"
#include "ClerkSecretItem.h"
#include "SecretStoreError.h"

#include <QSemaphore>

using namespace std::chrono_literals;

namespace {

// Secure storage whose first write waits until the test lets it go on.
class GatedSecretStore final : public SecretStore {
public:
    std::optional<QByteArray> data(const QString& account) override { return inner.data(account); }
    void setData(const QString& account, const QByteArray& data) override {
        if (firstWrite.exchange(false)) {
            entered.release();
            gate.acquire();
        }
        QMutexLocker lock(&mutex);
        written << account + QLatin1Char('=') + QString::fromUtf8(data);
        inner.setData(account, data);
    }
    void remove(const QString& account) override { inner.remove(account); }

    InMemorySecretStore inner;
    std::atomic<bool> firstWrite{true};
    QSemaphore entered, gate;
    QMutex mutex;
    QStringList written;
};

async::Task<void> drain(std::shared_ptr<PersistenceWorker> worker) {
    co_await worker->drain();
}

bool waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 20'000);
}

// Waits for `done`, moving the virtual clock over the short retry waits on the way.
bool waitSteppingClock(FrontendApiFixture& f, const bool& done) {
    return waitFor([&] {
        if (f.clock.pendingTimers() > 0 && f.clock.nextTimerIn() <= 1s)
            f.clock.advanceToNextTimer();
        return done;
    });
}

} // namespace

class ClerkPersistenceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void configurationHasDefaultsAndHappensOnce() {
        const ClerkOptions defaults;
        QCOMPARE(defaults.secretStoreConfig.service, QStringLiteral("com.orbelo.desktop"));
        QCOMPARE(defaults.redirectConfig.redirectUrl, QStringLiteral("com.orbelo.desktop://callback"));
        QCOMPARE(defaults.redirectConfig.callbackUrlScheme, QStringLiteral("com.orbelo.desktop"));
        QCOMPARE(defaults.logLevel, LogLevel::verbose);
        QVERIFY(defaults.telemetryEnabled);

        Clerk clerk(std::make_shared<InMemorySecretStore>());
        async::TaskScope scope;
        QString loadError;
        scope.spawn(clerk.load(), async::TaskScope::ErrorHandler([&](std::exception_ptr e) {
                        loadError = errorAs<ClerkInitializationError>(e).message();
                    }));
        QCOMPARE(loadError, ClerkInitializationError::missingPublishableKey().message());

        QVERIFY_THROWS_EXCEPTION(ClerkInitializationError, clerk.configure(QStringLiteral("pk_nope")));
        QVERIFY(!clerk.isConfigured());
        clerk.configure(FrontendApiFixture::publishableKey(QStringLiteral("clerk.example.com")));
        QCOMPARE(clerk.configuration().frontendApiUrl, QUrl(QStringLiteral("https://clerk.example.com")));
        QCOMPARE(clerk.configurationEpoch(), 1);
        try {
            clerk.configure(FrontendApiFixture::publishableKey(QStringLiteral("clerk.example.com")));
            QFAIL("a second configuration must fail");
        } catch (const ClerkInitializationError& e) {
            QCOMPARE(e.message(),
                     QStringLiteral("Clerk has already been configured. Configure can only be called once."));
        }
    }

    void loadShowsTheCachedClientAtOnceThenTheFreshOne() {
        FrontendApiFixture f;
        const QByteArray session = FrontendApiFixture::sessionJson("sess_1");
        f.secrets->setData(ClerkSecretItem::cachedClient,
                           FrontendApiFixture::clientJson("client_cached", {session}, "sess_1"));
        f.secrets->setData(ClerkSecretItem::cachedEnvironment,
                           R"({"display_config":{"application_name":"Cached"}})");
        f.server.enqueue(ScriptedResponse::held(ScriptedResponse::json(
            200,
            R"({"display_config":{"application_name":"Fresh","instance_environment_type":"development"}})")));
        f.server.enqueue(ScriptedResponse::json(
            200, R"({"response":)" + FrontendApiFixture::clientJson("client_fresh", {session}, "sess_1") +
                     R"(,"client":null})"));

        bool loaded = false;
        f.scope.spawn(f.clerk->load(), [&] { loaded = true; });
        QVERIFY(waitFor([&] { return f.server.heldCount() == 1; }));
        QCOMPARE(f.clerk->session()->id, QStringLiteral("sess_1")); // before any answer
        QCOMPARE(f.clerk->client()->id, QStringLiteral("client_cached"));
        QCOMPARE(f.clerk->environment().displayConfig->applicationName, QStringLiteral("Cached"));
        f.server.releaseHeld();
        QVERIFY(waitFor([&] { return loaded; }));
        QCOMPARE(f.clerk->client()->id, QStringLiteral("client_fresh"));
        QVERIFY(f.clerk->environment().isDevelopmentInstance());
        QVERIFY(f.clerk->isLoaded());
        QCOMPARE(f.clock.nextTimerIn(), 5s); // the session poll

        f.drainPersistence();
        QVERIFY(f.secrets->data(ClerkSecretItem::cachedClient)->contains("client_fresh"));
        QVERIFY(f.secrets->data(ClerkSecretItem::cachedEnvironment)->contains("Fresh"));
    }

    void loadGoesOnPastFailures() {
        FrontendApiFixture f;
        f.secrets->setFailing(ClerkSecretItem::cachedEnvironment, true);
        f.secrets->setData(ClerkSecretItem::cachedClient, "{ not json");
        f.server.setHandler([](const RecordedRequest& request) {
            if (request.path == "/v1/environment")
                return ScriptedResponse::json(200, "{}");
            return ScriptedResponse::json(400, R"({"errors":[{"code":"client_not_found"}]})");
        });
        bool loaded = false;
        f.scope.spawn(f.clerk->load(), [&] { loaded = true; });
        QVERIFY(waitSteppingClock(f, loaded));
        f.drainPersistence();
        QVERIFY(f.logged("Failed to load cached client from the secret store. This is non-critical and "
                         "initialization will "
                         "continue."));
        QVERIFY(f.logged("Failed to load cached environment from the secret store. This is non-critical and "
                         "initialization "
                         "will continue."));
        QVERIFY(f.logged("Failed to load client or environment"));
        QVERIFY(f.logged(
            "Failed to save environment to the secret store. This is non-critical but may affect offline "
            "functionality."));
        QVERIFY(!f.clerk->client());
        QVERIFY(f.clerk->isLoaded());
    }

    void theForegroundRefreshesAndPollsTheActiveSession() {
        FrontendApiFixture f;
        const QByteArray client =
            FrontendApiFixture::clientJson("client_1", {FrontendApiFixture::sessionJson("sess_1")}, "sess_1");
        f.server.setHandler([&](const RecordedRequest& request) {
            if (request.path == "/v1/client")
                return ScriptedResponse::json(200, R"({"response":)" + client + R"(,"client":null})");
            if (request.path == "/v1/environment")
                return ScriptedResponse::json(200, "{}");
            const QString jwt = FrontendApiFixture::jwt(f.clock.now(), 60);
            return ScriptedResponse::json(200, R"({"object":"token","jwt":")" + jwt.toLatin1() + R"("})");
        });
        QVERIFY(!f.run(f.clerk->load()));
        QCOMPARE(f.server.requestCount(), 2);

        // Polling asks for the session's token, which costs a request only when it nears expiry.
        f.clock.advance(5s);
        QVERIFY(
            waitFor([&] { return f.requestsTo("POST", "/v1/client/sessions/sess_1/tokens").size() == 1; }));
        QVERIFY(waitFor([&] { return f.clock.nextTimerIn() == 5s; }));
        f.clock.advance(5s);
        QCoreApplication::processEvents();
        QCOMPARE(f.requestsTo("POST", "/v1/client/sessions/sess_1/tokens").size(), 1);

        f.clerk->applicationDidEnterBackground();
        QCOMPARE(f.clock.pendingTimers(), 0);
        f.clerk->applicationDidBecomeActive();
        QVERIFY(waitFor([&] { return f.server.requestCount() == 5; }));
        QCOMPARE(f.requestsTo("GET", "/v1/client").size(), 2);
        QVERIFY(waitFor([&] { return f.requestsTo("GET", "/v1/environment").size() == 2; }));
        QCOMPARE(f.clock.nextTimerIn(), 5s);
    }

    void aPendingWriteIsReplacedByANewerOne() {
        auto secrets = std::make_shared<GatedSecretStore>();
        auto worker = std::make_shared<PersistenceWorker>(secrets, ClerkLogger());
        worker->write("a", QByteArray("1"), {});
        secrets->entered.acquire(); // the first write is under way and waits
        worker->write("a", QByteArray("2"), {});
        worker->write("b", QByteArray("x"), {});
        worker->write("a", QByteArray("3"), {});
        secrets->gate.release();
        async::TaskScope scope;
        bool drained = false;
        scope.spawn(drain(worker), [&] { drained = true; });
        QVERIFY(waitFor([&] { return drained; }));
        QCOMPARE(secrets->written, (QStringList{"a=1", "a=3", "b=x"}));
    }

    void secretItemsAreClearedLenientlyOrStrictly() {
        InMemorySecretStore secrets;
        for (const QString& account : ClerkSecretItem::all())
            secrets.setData(account, "x");
        secrets.setFailing(ClerkSecretItem::cachedClientServerDate, true);
        QVERIFY_THROWS_EXCEPTION(SecretStoreError, CacheManager::clearAllSecretItemsStrictly(secrets));
        QVERIFY(secrets.data(ClerkSecretItem::deviceToken)); // stopped at the failure
        CacheManager::clearAllSecretItems(secrets);
        secrets.setFailing(ClerkSecretItem::cachedClientServerDate, false);
        for (const QString& account : ClerkSecretItem::all())
            QCOMPARE(bool(secrets.data(account)), account == ClerkSecretItem::cachedClientServerDate);
    }

    // Items stored for another publishable key are removed before anything is read or sent.
    void storedItemsBelongToOneInstance_data() {
        QTest::addColumn<QString>("storedFor");
        QTest::addColumn<bool>("clearFails");
        QTest::addColumn<bool>("kept");
        const QString other = FrontendApiFixture::publishableKey(QStringLiteral("clerk.other.example"));
        QTest::newRow("same key") << QStringLiteral("this") << false << true;
        QTest::newRow("no record: kept and recorded") << QString() << false << true;
        QTest::newRow("another key") << other << false << false;
        QTest::newRow("another key, clearing fails") << other << true << false;
    }

    void storedItemsBelongToOneInstance() {
        QFETCH(QString, storedFor);
        QFETCH(bool, clearFails);
        QFETCH(bool, kept);
        FrontendApiFixture f;
        const QString key = f.clerk->configuration().publishableKey;
        if (storedFor == QLatin1String("this"))
            storedFor = key;
        if (!storedFor.isEmpty())
            f.secrets->setData(ClerkSecretItem::instance, CacheManager::instanceId(storedFor));
        const QByteArray session = FrontendApiFixture::sessionJson("sess_1");
        f.secrets->setData(ClerkSecretItem::cachedClient,
                           FrontendApiFixture::clientJson("client_cached", {session}, "sess_1"));
        f.secrets->setData(ClerkSecretItem::deviceToken, "dvc_1");
        f.secrets->setFailing(ClerkSecretItem::pendingMagicLinkFlow, clearFails);
        f.server.enqueue(ScriptedResponse::held(ScriptedResponse::json(200, "{}")));
        f.server.enqueue(ScriptedResponse::json(200, R"({"response":null,"client":null})"));

        bool loaded = false;
        f.scope.spawn(f.clerk->load(), [&] { loaded = true; });
        QVERIFY(waitFor([&] { return f.server.heldCount() == 1; }));
        QCOMPARE(bool(f.clerk->client()), kept);
        QCOMPARE(f.server.requests().at(0).header("Authorization"),
                 kept ? std::optional<QByteArray>("dvc_1") : std::nullopt);
        QCOMPARE(f.logged("Unable to clear Clerk's stored secrets during reconfiguration."), clearFails);
        f.server.releaseHeld();
        QVERIFY(waitFor([&] { return loaded; }));

        f.secrets->setFailing(ClerkSecretItem::pendingMagicLinkFlow, false);
        // A failed clear leaves the record as it was, so the next launch tries again.
        QCOMPARE(f.secrets->data(ClerkSecretItem::instance),
                 CacheManager::instanceId(clearFails ? storedFor : key));
        QVERIFY(!f.secrets->data(ClerkSecretItem::instance)->contains(key.toUtf8()));
    }

    void aPendingSessionIsReported() {
        FrontendApiFixture f;
        const QByteArray session = FrontendApiFixture::sessionJson(
            "sess_1", "pending", R"(,"tasks":[{"key":"choose-organization"},{"key":"setup-mfa"}])");
        f.clerk->applyResponseClient(
            json::decode<Client>(FrontendApiFixture::clientJson("c", {session}, "sess_1")), 1, std::nullopt);
        QVERIFY(f.logged(
            R"(Your session is currently pending. Complete the remaining session tasks to activate it. )"
            R"(Remaining session tasks: ["choose-organization", "setup-mfa"])"));
    }
};

QTEST_GUILESS_MAIN(ClerkPersistenceTest)
#include "tst_ClerkPersistence.moc"
