// The app's auth operations against a scripted Frontend API: options, token lookup and its
// failure line, and sign-out that re-syncs the client when the server refuses.
#include "FrontendApiFixture.h"

#include "Auth/AuthSession.h"

namespace {

void signIn(FrontendApiFixture& f) {
    const QByteArray client =
        FrontendApiFixture::clientJson("client_1", {FrontendApiFixture::sessionJson("sess_1")}, "sess_1");
    f.clerk->applyResponseClient(json::decode<Client>(client), ClerkNetworkingPipeline::nextSequence(),
                                 std::nullopt);
}

ScriptedResponse refused(const QByteArray& code, const QByteArray& message) {
    return ScriptedResponse::json(422, R"({"errors":[{"code":")" + code + R"(","message":")" + message +
                                           R"(","long_message":")" + message + R"("}]})");
}

} // namespace

class AuthSessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void optionsNameTheApp() {
        const ClerkOptions options = AuthSession::optionsFor("com.orbelo.desktop");
        QCOMPARE(options.secretStoreConfig.service, QStringLiteral("com.orbelo.desktop"));
        QCOMPARE(options.redirectConfig.redirectUrl, QStringLiteral("com.orbelo.desktop://callback"));
        QCOMPARE(options.redirectConfig.callbackUrlScheme, QStringLiteral("com.orbelo.desktop"));
        QCOMPARE(options.logLevel, ClerkOptions().logLevel);
        QCOMPARE(AuthSession::optionsFor(QString()).secretStoreConfig.service, QString());
    }

    // A key that fails to configure gives a message to stop with, showing 10 of its characters.
    void configuringReportsWhatToStopWith() {
        Clerk clerk(std::make_shared<InMemorySecretStore>());
        QCOMPARE(
            AuthSession::tryConfigure(clerk, "pk_test_not*base64url").value_or(QString()),
            QStringLiteral("Invalid publishable key format: 'pk_test_no...'. Publishable keys must start "
                           "with 'pk_test_' or 'pk_live_'."));
        QVERIFY(!clerk.isConfigured());

        const QString key = FrontendApiFixture::publishableKey(QStringLiteral("clerk.example.com"));
        QVERIFY(!AuthSession::tryConfigure(clerk, key));
        QVERIFY(clerk.isConfigured());
        QCOMPARE(AuthSession::tryConfigure(clerk, key).value_or(QString()),
                 QStringLiteral("Clerk has already been configured. Configure can only be called once."));
    }

    // No session: nothing, without asking anyone. A session: its token. A refusal: logged, nothing.
    void currentToken() {
        FrontendApiFixture f;
        std::optional<QString> token = QStringLiteral("unset");
        QVERIFY(!f.run(AuthSession::currentToken(*f.clerk), &token));
        QVERIFY(!token);
        QCOMPARE(f.server.requestCount(), 0);

        signIn(f);
        // Inside the 10-second expiration buffer, so the next lookup asks again.
        const QString jwt = FrontendApiFixture::jwt(f.clock.now(), 5);
        f.server.enqueue(
            ScriptedResponse::json(200, R"({"object":"token","jwt":")" + jwt.toLatin1() + R"("})"));
        QVERIFY(!f.run(AuthSession::currentToken(*f.clerk), &token));
        QCOMPARE(token.value(), jwt);

        f.server.enqueue(refused("session_not_found", "No session was found."));
        QTest::ignoreMessage(QtWarningMsg,
                             "currentToken: getToken failed — No session was found. | hasSession=1 "
                             "sessionId=sess_1 userId=user_1");
        QVERIFY(!f.run(AuthSession::currentToken(*f.clerk), &token));
        QVERIFY(!token);
    }

    void signOutReSyncsWhenRefused() {
        FrontendApiFixture f;
        signIn(f);
        f.server.enqueue(refused("server_busy", "Try again later."));
        f.server.enqueue(ScriptedResponse::json(200, R"({"response":null,"client":null})"));
        QTest::ignoreMessage(QtWarningMsg, "signOut failed; re-syncing client — Try again later.");
        QVERIFY(!f.run(AuthSession::signOut(*f.clerk)));
        QCOMPARE(f.requestsTo("DELETE", "/v1/client/sessions").size(), 1);
        QCOMPARE(f.requestsTo("GET", "/v1/client").size(), 1);
        QVERIFY(!f.clerk->session());
    }
};

QTEST_GUILESS_MAIN(AuthSessionTest)
#include "tst_AuthSession.moc"
