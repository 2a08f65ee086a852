#include "TestServer.h"

#include <QTest>

// "Forgot password?": a sign-in proves the account's email address with a reset code, sets a
// new password and completes, or goes on to the account's second factor.
class PasswordResetTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        server->signUp(email, "old-password");
        device = {};
    }
    void cleanup() { server.reset(); }

    void signInOffersTheResetFactor() {
        const QJsonObject signIn = startSignIn();
        QCOMPARE(signIn.value("status").toString(), "needs_first_factor");
        QStringList strategies;
        QJsonObject reset, emailCode;
        for (const QJsonValue factor : signIn.value("supported_first_factors").toArray()) {
            strategies.append(factor["strategy"].toString());
            if (factor["strategy"].toString() == "reset_password_email_code")
                reset = factor.toObject();
            if (factor["strategy"].toString() == "email_code")
                emailCode = factor.toObject();
        }
        QCOMPARE(strategies, (QStringList{"password", "email_code", "reset_password_email_code"}));
        QCOMPARE(reset.value("safe_identifier").toString(), email);
        QVERIFY(!reset.value("email_address_id").toString().isEmpty());
        QCOMPARE(reset.value("email_address_id"), emailCode.value("email_address_id"));
    }

    void resetReplacesThePassword() {
        const QString id = startSignIn().value("id").toString();
        const auto prepared = prepareReset(id);
        QCOMPARE(prepared.status, 200);
        QCOMPARE(prepared.at("response.first_factor_verification.strategy").toString(),
                 "reset_password_email_code");
        const QString code = server->lastCodeSentTo(email);
        QCOMPARE(code.size(), 6);

        const auto wrong = attemptReset(id, code == "000000" ? "111111" : "000000");
        QCOMPARE(wrong.status, 422);
        QCOMPARE(wrong.errorCode(), "form_code_incorrect");
        QCOMPARE(reload(id).value("status").toString(), "needs_first_factor");

        const auto verified = attemptReset(id, code);
        QCOMPARE(verified.status, 200);
        QCOMPARE(verified.at("response.status").toString(), "needs_new_password");
        QCOMPARE(verified.at("response.first_factor_verification.status").toString(), "verified");
        QVERIFY(verified.at("response.created_session_id").isNull());

        const auto weak = resetPassword(id, "7-chars");
        QCOMPARE(weak.status, 422);
        QCOMPARE(weak.errorCode(), "form_password_length_too_short");
        QCOMPARE(resetPassword(id, {}).errorCode(), "form_param_missing");
        QCOMPARE(reload(id).value("status").toString(), "needs_new_password");

        const auto done = resetPassword(id, "8-chars!");
        QCOMPARE(done.status, 200);
        const QJsonObject signIn = done.json().value("response").toObject();
        QCOMPARE(signIn.value("status").toString(), "complete");
        QCOMPARE(done.at("client.last_active_session_id"), signIn.value("created_session_id"));

        QCOMPARE(passwordSignIn("old-password").errorCode(), "form_password_incorrect");
        QCOMPARE(passwordSignIn("8-chars!").at("response.status").toString(), "complete");
    }

    // Only a sign-in that has verified a reset code may set a password.
    void resetPasswordIsRefusedInEveryOtherState_data() {
        QTest::addColumn<QString>("stage");
        QTest::newRow("just created") << "created";
        QTest::newRow("reset code sent, not entered") << "prepared";
        QTest::newRow("signed in with an email code") << "email_code";
        QTest::newRow("already reset") << "reset";
    }

    void resetPasswordIsRefusedInEveryOtherState() {
        QFETCH(QString, stage);
        const QString id = startSignIn().value("id").toString();
        if (stage == "prepared") {
            prepareReset(id);
        } else if (stage == "email_code") {
            server->form("POST", path(id, "attempt_first_factor"),
                         {{"strategy", "email_code"}, {"code", "424242"}}, device);
        } else if (stage == "reset") {
            prepareReset(id);
            attemptReset(id, server->lastCodeSentTo(email));
            QCOMPARE(resetPassword(id, "first-new-password").status, 200);
        }
        const QString before = reload(id).value("status").toString();
        const auto refused = resetPassword(id, "another-password");
        QCOMPARE(refused.status, 422);
        QCOMPARE(refused.errorCode(), "reset_password_not_allowed");
        QCOMPARE(reload(id).value("status").toString(), before);
    }

    void resetCodeOnlyAnswersItsOwnStrategy() {
        const QString id = startSignIn().value("id").toString();
        prepareReset(id);
        const QString code = server->lastCodeSentTo(email);
        const auto asSignInCode = server->form("POST", path(id, "attempt_first_factor"),
                                               {{"strategy", "email_code"}, {"code", code}}, device);
        if (code != "424242") // the fixed test code is good for every strategy at example.com
            QCOMPARE(asSignInCode.status, 422);
        const auto foreign = server->form(
            "POST", path(id, "prepare_first_factor"),
            {{"strategy", "reset_password_email_code"}, {"email_address_id", "idn_someone_else"}}, device);
        QCOMPARE(foreign.status, 422);
        QCOMPARE(foreign.errorCode(), "form_param_value_invalid");
    }

    void resetGoesOnToTheSecondFactor() {
        const auto enabled =
            server->send("POST", "/__control/second-factor",
                         R"({"email":"forgetful@example.com","phone_number":"+15555550100"})",
                         {{"Content-Type", "application/json"}});
        const QString backupCode = enabled.at("backup_codes.0").toString();
        const QString id = startSignIn().value("id").toString();
        prepareReset(id);
        attemptReset(id, server->lastCodeSentTo(email));
        const auto reset = resetPassword(id, "new-password");
        QCOMPARE(reset.at("response.status").toString(), "needs_second_factor");
        QCOMPARE(reset.at("client.sessions").toArray().size(), 0);
        const auto done = server->form("POST", path(id, "attempt_second_factor"),
                                       {{"strategy", "backup_code"}, {"code", backupCode}}, device);
        QCOMPARE(done.at("response.status").toString(), "complete");
    }

    void signingOutOfOtherSessions_data() {
        QTest::addColumn<QString>("signOutOfOthers");
        QTest::addColumn<int>("otherDeviceStatus");
        QTest::newRow("asked") << "true" << 401;
        QTest::newRow("not asked") << "" << 200;
        QTest::newRow("declined") << "false" << 200;
    }

    void signingOutOfOtherSessions() {
        QFETCH(QString, signOutOfOthers);
        QFETCH(int, otherDeviceStatus);
        TestServer::Device other;
        const auto signedIn = server->form("POST", "/v1/client/sign_ins",
                                           {{"identifier", email}, {"password", "old-password"}}, other);
        other.deviceToken = signedIn.header("Authorization");
        other.sessionId = signedIn.at("response.created_session_id").toString();

        const QString id = startSignIn().value("id").toString();
        prepareReset(id);
        attemptReset(id, server->lastCodeSentTo(email));
        QList<QPair<QString, QString>> fields{{"password", "new-password"}};
        if (!signOutOfOthers.isEmpty())
            fields.append({"sign_out_of_other_sessions", signOutOfOthers});
        const auto done = server->form("POST", path(id, "reset_password"), fields, device);
        QCOMPARE(done.at("response.status").toString(), "complete");
        QCOMPARE(server->form("POST", "/v1/client/sessions/" + other.sessionId + "/tokens", {}, other).status,
                 otherDeviceStatus);
        const QString own = done.at("response.created_session_id").toString();
        QCOMPARE(server->form("POST", "/v1/client/sessions/" + own + "/tokens", {}, device).status, 200);
    }

private:
    QString path(const QString& id, const QString& action) const {
        return "/v1/client/sign_ins/" + id + "/" + action;
    }

    QJsonObject startSignIn() {
        const auto created = server->form("POST", "/v1/client/sign_ins", {{"identifier", email}}, device);
        if (device.deviceToken.isEmpty())
            device.deviceToken = created.header("Authorization");
        return created.json().value("response").toObject();
    }

    QJsonObject reload(const QString& id) {
        return server->send("GET", "/v1/client/sign_ins/" + id, {}, {{"Authorization", device.deviceToken}})
            .json()
            .value("response")
            .toObject();
    }

    TestServer::Reply prepareReset(const QString& id) {
        const QJsonObject signIn = reload(id);
        const QString emailId = signIn["supported_first_factors"][1]["email_address_id"].toString();
        return server->form("POST", path(id, "prepare_first_factor"),
                            {{"strategy", "reset_password_email_code"}, {"email_address_id", emailId}},
                            device);
    }

    TestServer::Reply attemptReset(const QString& id, const QString& code) {
        return server->form("POST", path(id, "attempt_first_factor"),
                            {{"strategy", "reset_password_email_code"}, {"code", code}}, device);
    }

    TestServer::Reply resetPassword(const QString& id, const std::optional<QString>& password) {
        QList<QPair<QString, QString>> fields;
        if (password)
            fields.append({"password", *password});
        return server->form("POST", path(id, "reset_password"), fields, device);
    }

    TestServer::Reply passwordSignIn(const QString& password) {
        TestServer::Device fresh;
        return server->form("POST", "/v1/client/sign_ins", {{"identifier", email}, {"password", password}},
                            fresh);
    }

    const QString email = "forgetful@example.com";
    std::unique_ptr<TestServer> server;
    TestServer::Device device;
};

QTEST_MAIN(PasswordResetTest)
#include "PasswordResetTest.moc"
