#include "TestServer.h"

#include "Auth/TokenSigner.h"
#include "ServerContext.h"
#include "Storage/SecretHash.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>
#include <QUrlQuery>

// The auth service stand-in: sign-up, sign-in, factors, sessions and tokens, as a device sees them.
class AuthServiceTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
    }
    void cleanup() { server.reset(); }

    void environmentAndClientBeforeSignIn() {
        const auto environment = server->send("GET", "/v1/environment?_is_native=true");
        QCOMPARE(environment.status, 200);
        QCOMPARE(environment.json()
                     .value("display_config")
                     .toObject()
                     .value("instance_environment_type")
                     .toString(),
                 "development");
        QVERIFY(!environment.header("Date").isEmpty());
        const auto client = server->send("GET", "/v1/client?_is_native=true");
        QCOMPARE(client.status, 200);
        QVERIFY(client.json().contains("response"));
        QVERIFY(client.json().value("response").isNull());
        QVERIFY(client.json().value("client").isNull());
    }

    void signUpVerifiesWithMailedCodeAndCompletes() {
        TestServer::Device device;
        const auto created =
            server->form("POST", "/v1/client/sign_ups",
                         {{"email_address", "Ada@Example.org"}, {"password", "correct horse"}}, device);
        QCOMPARE(created.status, 200);
        device.deviceToken = created.header("Authorization");
        QVERIFY(!device.deviceToken.isEmpty());
        // The device token is kept as its hash only.
        Database& db = server->server().context().db;
        QVERIFY(
            !db.row("SELECT 1 FROM clients WHERE token_hash = ?", {QString::fromLatin1(device.deviceToken)}));
        QVERIFY(db.row("SELECT 1 FROM clients WHERE token_hash = ?",
                       {SecretHash::of(QString::fromLatin1(device.deviceToken))}));
        const QJsonObject signUp = created.json().value("response").toObject();
        QCOMPARE(signUp.value("status").toString(), "missing_requirements");
        QCOMPARE(signUp.value("unverified_fields").toArray(), QJsonArray{"email_address"});
        QCOMPARE(created.json().value("client").toObject().value("sign_up").toObject().value("id"),
                 signUp.value("id"));
        const QString id = signUp.value("id").toString();

        server->form("POST", "/v1/client/sign_ups/" + id + "/prepare_verification",
                     {{"strategy", "email_code"}}, device);
        const auto mail =
            server->server().context().db.row("SELECT body FROM mailbox WHERE recipient = 'ada@example.org'");
        QVERIFY(mail);
        const QString code = QRegularExpression("(\\d{6})").match(mail->value("body").toString()).captured(1);
        QCOMPARE(code.size(), 6);

        // Only example.com addresses take the fixed code.
        const auto wrong = server->form("POST", "/v1/client/sign_ups/" + id + "/attempt_verification",
                                        {{"strategy", "email_code"}, {"code", "424242"}}, device);
        if (code != "424242") {
            QCOMPARE(wrong.status, 422);
            QCOMPARE(wrong.errorCode(), "form_code_incorrect");
        }
        const auto done = server->form("POST", "/v1/client/sign_ups/" + id + "/attempt_verification",
                                       {{"strategy", "email_code"}, {"code", code}}, device);
        QCOMPARE(done.status, 200);
        const QJsonObject completed = done.json().value("response").toObject();
        QCOMPARE(completed.value("status").toString(), "complete");
        const QJsonObject client = done.json().value("client").toObject();
        QCOMPARE(client.value("last_active_session_id"), completed.value("created_session_id"));
        QVERIFY(client.value("sign_up").isNull());
        QCOMPARE(client.value("sessions").toArray().size(), 1);
        QVERIFY(done.header("Authorization").isEmpty()); // the device token is issued once
    }

    void signUpRejectsTakenAddressAndShortPassword() {
        server->signUp("taken@example.com", "long enough");
        TestServer::Device device;
        const auto taken =
            server->form("POST", "/v1/client/sign_ups",
                         {{"email_address", "taken@example.com"}, {"password", "long enough"}}, device);
        QCOMPARE(taken.status, 422);
        QCOMPARE(taken.errorCode(), "form_identifier_exists");
        QCOMPARE(taken.json().value("errors").toArray().at(0).toObject().value("meta").toObject().value(
                     "param_name"),
                 "email_address");
        QVERIFY(taken.json().contains("clerk_trace_id"));
        // One mailbox is one account, however its address is spelled.
        for (const char* spelling : {" Taken@Example.COM", "taken@example.com.", "TAKEN@EXAMPLE.COM.."}) {
            const auto again =
                server->form("POST", "/v1/client/sign_ups",
                             {{"email_address", spelling}, {"password", "long enough"}}, device);
            QCOMPARE(again.errorCode(), "form_identifier_exists");
        }
        const auto shortPassword =
            server->form("POST", "/v1/client/sign_ups",
                         {{"email_address", "new@example.com"}, {"password", "short"}}, device);
        QCOMPARE(shortPassword.errorCode(), "form_password_length_too_short");
    }

    void passwordSignInAndItsErrors() {
        server->signUp("grace@example.com", "hopper-1906");
        TestServer::Device device;
        const auto unknown = server->form("POST", "/v1/client/sign_ins",
                                          {{"identifier", "nobody@example.com"}, {"password", "x"}}, device);
        QCOMPARE(unknown.status, 422);
        QCOMPARE(unknown.errorCode(), "form_identifier_not_found");
        device.deviceToken = unknown.header("Authorization");
        QVERIFY(!device.deviceToken.isEmpty());
        const auto wrong = server->form("POST", "/v1/client/sign_ins",
                                        {{"identifier", "grace@example.com"}, {"password", "wrong"}}, device);
        QCOMPARE(wrong.errorCode(), "form_password_incorrect");
        const auto ok =
            server->form("POST", "/v1/client/sign_ins",
                         {{"identifier", "GRACE@example.com."}, {"password", "hopper-1906"}}, device);
        QCOMPARE(ok.status, 200);
        QCOMPARE(ok.json().value("response").toObject().value("status").toString(), "complete");
        QVERIFY(ok.json().value("client").toObject().value("sign_in").isNull());
    }

    void emailCodeFirstFactor() {
        server->signUp("code@example.com", "password-1");
        TestServer::Device device;
        const auto created =
            server->form("POST", "/v1/client/sign_ins", {{"identifier", "code@example.com"}}, device);
        device.deviceToken = created.header("Authorization");
        const QJsonObject signIn = created.json().value("response").toObject();
        QCOMPARE(signIn.value("status").toString(), "needs_first_factor");
        const QString id = signIn.value("id").toString();
        server->form("POST", "/v1/client/sign_ins/" + id + "/prepare_first_factor",
                     {{"strategy", "email_code"}}, device);
        const auto done = server->form("POST", "/v1/client/sign_ins/" + id + "/attempt_first_factor",
                                       {{"strategy", "email_code"}, {"code", "424242"}}, device);
        QCOMPARE(done.json().value("response").toObject().value("status").toString(), "complete");
    }

    void secondFactorWithPhoneCodeAndSingleUseBackupCode() {
        server->signUp("mfa@example.com", "password-1");
        const auto enabled = server->send("POST", "/__control/second-factor",
                                          R"({"email":"mfa@example.com","phone_number":"+15555550123"})",
                                          {{"Content-Type", "application/json"}});
        const QString backupCode = enabled.json().value("backup_codes").toArray().at(0).toString();
        QVERIFY(!backupCode.isEmpty());
        // Only keyed hashes of the codes are kept.
        const QString stored =
            server->server()
                .context()
                .db.row("SELECT backup_code_hashes FROM users WHERE email = 'mfa@example.com'")
                ->value("backup_code_hashes")
                .toString();
        QCOMPARE(QJsonDocument::fromJson(stored.toUtf8()).array().size(), 8);
        for (const QJsonValue& code : enabled.json().value("backup_codes").toArray())
            QVERIFY(!stored.contains(code.toString()));

        auto signIn = [&](TestServer::Device& device) {
            const auto reply =
                server->form("POST", "/v1/client/sign_ins",
                             {{"identifier", "mfa@example.com"}, {"password", "password-1"}}, device);
            if (device.deviceToken.isEmpty())
                device.deviceToken = reply.header("Authorization");
            return reply.json().value("response").toObject();
        };
        TestServer::Device device;
        QJsonObject state = signIn(device);
        QCOMPARE(state.value("status").toString(), "needs_second_factor");
        QCOMPARE(state.value("supported_second_factors")
                     .toArray()
                     .at(0)
                     .toObject()
                     .value("safe_identifier")
                     .toString(),
                 "********0123");
        const QString id = state.value("id").toString();
        server->form("POST", "/v1/client/sign_ins/" + id + "/prepare_second_factor",
                     {{"strategy", "phone_code"}}, device);
        const QString code = server->lastCodeSentTo("+15555550123");
        QCOMPARE(code.size(), 6);
        const auto wrong = server->form(
            "POST", "/v1/client/sign_ins/" + id + "/attempt_second_factor",
            {{"strategy", "phone_code"}, {"code", code == "000000" ? "111111" : "000000"}}, device);
        QCOMPARE(wrong.status, 422);
        QCOMPARE(wrong.errorCode(), "form_code_incorrect");
        const auto reloaded =
            server->send("GET", "/v1/client/sign_ins/" + id, {}, {{"Authorization", device.deviceToken}});
        QCOMPARE(reloaded.at("response.status").toString(), "needs_second_factor");
        QCOMPARE(reloaded.at("client.sessions").toArray().size(), 0);
        const auto done = server->form("POST", "/v1/client/sign_ins/" + id + "/attempt_second_factor",
                                       {{"strategy", "phone_code"}, {"code", code}}, device);
        QCOMPARE(done.json().value("response").toObject().value("status").toString(), "complete");
        QCOMPARE(done.at("client.last_active_session_id"), done.at("response.created_session_id"));

        // A backup code works once; a wrong one never.
        const QList<QPair<QString, int>> backupAttempts{
            {"00000000", 422}, {"", 422},        {backupCode.left(7), 422}, {backupCode + QChar(0), 422},
            {backupCode, 200}, {backupCode, 422}};
        for (const auto& [given, status] : backupAttempts) {
            const QString next = signIn(device).value("id").toString();
            const auto reply = server->form("POST", "/v1/client/sign_ins/" + next + "/attempt_second_factor",
                                            {{"strategy", "backup_code"}, {"code", given}}, device);
            QCOMPARE(reply.status, status);
            if (status == 422)
                QCOMPARE(reply.errorCode(), "form_code_incorrect");
        }
    }

    void tokensAreSignedShortLivedJwts() {
        const auto device = server->signUp("jwt@example.com", "password-1");
        const auto reply = server->form("POST", "/v1/client/sessions/" + device.sessionId + "/tokens",
                                        {{"organization_id", ""}}, device);
        QCOMPARE(reply.status, 200);
        const QJsonObject token = reply.json().value("response").toObject();
        QCOMPARE(token.value("object").toString(), "token");
        const QJsonObject client = reply.json().value("client").toObject();
        QCOMPARE(client.value("last_active_session_id").toString(), device.sessionId);
        QCOMPARE(client.value("sessions").toArray().size(), 1);
        const QStringList parts = token.value("jwt").toString().split('.');
        QCOMPARE(parts.size(), 3);
        const QJsonObject claims =
            QJsonDocument::fromJson(
                QByteArray::fromBase64(parts[1].toLatin1(), QByteArray::Base64UrlEncoding))
                .object();
        QCOMPARE(claims.value("sid").toString(), device.sessionId);
        QCOMPARE(claims.value("sub").toString(), device.userId);
        QCOMPARE(claims.value("iss").toString(), server->server().baseUrl());
        QCOMPARE(claims.value("exp").toInteger() - claims.value("iat").toInteger(), 60);
        QVERIFY(claims.value("nbf").toInteger() <= claims.value("iat").toInteger());
    }

    void apiRefusesMissingExpiredAndForgedTokens() {
        const auto device = server->signUp("bearer@example.com", "password-1");
        const QString token = server->sessionToken(device);
        QCOMPARE(server->api("GET", "/api/bootstrap", token).status, 200);
        QCOMPARE(server->api("GET", "/api/bootstrap", {}).status, 401);
        QStringList parts = token.split('.');
        parts[2][0] = parts[2][0] == 'A' ? 'B' : 'A';
        QCOMPARE(server->api("GET", "/api/bootstrap", parts.join('.')).status, 401);
        server->advanceClock((61 + TokenSigner::clockSkewSeconds) * 1000);
        QCOMPARE(server->api("GET", "/api/bootstrap", token).status, 401);
        QCOMPARE(server->api("GET", "/api/bootstrap", server->sessionToken(device)).status, 200);
    }

    // The API takes a token from the skew before its "nbf" second to the last millisecond of the
    // skew after its "exp" second, so that a process whose clock is a little off takes another's.
    void apiTokenLifetimeEndsAtExpPlusTheClockSkew() {
        const auto device = server->signUp("edge@example.com", "password-1");
        server->freezeClock();
        const QString token = server->sessionToken(device);
        const qint64 skewMs = TokenSigner::clockSkewSeconds * 1000;
        server->advanceClock(-skewMs);
        QCOMPARE(server->api("GET", "/api/bootstrap", token).status, 200);
        server->advanceClock(-1);
        QCOMPARE(server->api("GET", "/api/bootstrap", token).status, 401);
        server->advanceClock(1 + skewMs + 60'000 + skewMs - 1);
        QCOMPARE(server->api("GET", "/api/bootstrap", token).status, 200);
        server->advanceClock(1);
        QCOMPARE(server->api("GET", "/api/bootstrap", token).status, 401);
    }

    void signedOutAndExpiredSessionsGetNoTokens() {
        const auto device = server->signUp("stale@example.com", "password-1");
        const QString token = server->sessionToken(device);
        const auto out = server->form("DELETE", "/v1/client/sessions", {}, device);
        QCOMPARE(out.status, 200);
        QCOMPARE(out.json().value("response").toObject().value("sessions").toArray().size(), 0);
        // A token minted before sign-out is refused although it has not expired.
        QCOMPARE(server->api("GET", "/api/bootstrap", token).status, 401);
        const auto refused =
            server->form("POST", "/v1/client/sessions/" + device.sessionId + "/tokens", {}, device);
        QCOMPARE(refused.status, 401);
        QCOMPARE(refused.errorCode(), "authentication_invalid");

        const auto other = server->signUp("later@example.com", "password-1");
        server->advanceClock(8LL * 24 * 3600 * 1000);
        QCOMPARE(server->form("POST", "/v1/client/sessions/" + other.sessionId + "/tokens", {}, other).status,
                 401);
        const auto client = server->send("GET", "/v1/client", {}, {{"Authorization", other.deviceToken}});
        QVERIFY(client.json().value("response").toObject().value("last_active_session_id").isNull());
    }

    // The device token identifies the client only when sent back exactly as issued.
    void deviceTokenMustMatchExactly_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("status");
        QTest::newRow("as issued") << "none" << 200;
        QTest::newRow("missing") << "missing" << 401;
        QTest::newRow("cut short") << "truncated" << 401;
        QTest::newRow("with a character more") << "extended" << 401;
        QTest::newRow("upper case") << "upper" << 401;
    }

    void deviceTokenMustMatchExactly() {
        QFETCH(QString, change);
        QFETCH(int, status);
        TestServer::Device device = server->signUp("device@example.com", "password-1");
        if (change == "missing")
            device.deviceToken.clear();
        else if (change == "truncated")
            device.deviceToken.chop(1);
        else if (change == "extended")
            device.deviceToken.append('x');
        else if (change == "upper")
            device.deviceToken = device.deviceToken.toUpper();
        const auto reply =
            server->form("POST", "/v1/client/sessions/" + device.sessionId + "/tokens", {}, device);
        QCOMPARE(reply.status, status);
        if (status == 401)
            QCOMPARE(reply.errorCode(), "authentication_invalid");
    }

    void removeEndsOneSessionAndUpdatedAtGrows() {
        const auto device = server->signUp("grow@example.com", "password-1");
        auto updatedAt = [&] {
            return server->send("GET", "/v1/client", {}, {{"Authorization", device.deviceToken}})
                .json()
                .value("response")
                .toObject()
                .value("updated_at")
                .toInteger();
        };
        const qint64 before = updatedAt();
        const auto removed =
            server->form("POST", "/v1/client/sessions/" + device.sessionId + "/remove", {}, device);
        QCOMPARE(removed.json().value("response").toObject().value("status").toString(), "removed");
        QVERIFY(removed.json().value("client").toObject().value("updated_at").toInteger() > before);
        QVERIFY(updatedAt() > before);
        const auto foreign = server->signUp("other@example.com", "password-1");
        QCOMPARE(
            server->form("POST", "/v1/client/sessions/" + foreign.sessionId + "/tokens", {}, device).status,
            404);
    }

    void oauthConsentCompletesKnownAccountsAndTransfersUnknownOnes() {
        server->signUp("known@example.com", "password-1");
        for (const QString email : {"known@example.com", "newcomer@example.com"}) {
            TestServer::Device device;
            const auto created = server->form(
                "POST", "/v1/client/sign_ins",
                {{"strategy", "oauth_google"}, {"redirect_url", "com.orbelo.desktop://callback"}}, device);
            device.deviceToken = created.header("Authorization");
            const QJsonObject signIn = created.json().value("response").toObject();
            const QString consentUrl = signIn.value("first_factor_verification")
                                           .toObject()
                                           .value("external_verification_redirect_url")
                                           .toString();
            QVERIFY(consentUrl.startsWith(server->server().baseUrl() + "/oauth/consent"));
            QCOMPARE(server->send("GET", consentUrl).status, 200);
            const auto redirect = server->send("POST", "/oauth/consent",
                                               QUrlQuery{{"sign_in", signIn.value("id").toString()},
                                                         {"provider", "google"},
                                                         {"email", email}}
                                                   .toString(QUrl::FullyEncoded)
                                                   .toUtf8(),
                                               {{"Content-Type", "application/x-www-form-urlencoded"}});
            QCOMPARE(redirect.status, 302);
            const QUrl callback(QString::fromUtf8(redirect.header("Location")));
            QCOMPARE(callback.scheme(), "com.orbelo.desktop");
            const QString nonce = QUrlQuery(callback).queryItemValue("rotating_token_nonce");
            const auto reloaded = server->send("GET",
                                               "/v1/client/sign_ins/" + signIn.value("id").toString() +
                                                   "?rotating_token_nonce=" + nonce,
                                               {}, {{"Authorization", device.deviceToken}});
            const QJsonObject state = reloaded.json().value("response").toObject();
            if (email.startsWith("known")) {
                QCOMPARE(state.value("status").toString(), "complete");
                continue;
            }
            QCOMPARE(state.value("first_factor_verification").toObject().value("status").toString(),
                     "transferable");
            const auto transferred =
                server->form("POST", "/v1/client/sign_ups", {{"transfer", "true"}}, device);
            QCOMPARE(transferred.json().value("response").toObject().value("status").toString(), "complete");
            QCOMPARE(transferred.json().value("client").toObject().value("sessions").toArray().size(), 1);
        }
    }

private:
    std::unique_ptr<TestServer> server;
};

QTEST_MAIN(AuthServiceTest)
#include "AuthServiceTest.moc"
