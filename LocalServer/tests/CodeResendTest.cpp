#include "TestServer.h"

#include "ServerContext.h"

#include <QTest>
#include <functional>

// Asking for another verification code: refused with 429 and Retry-After until 30 seconds after
// the attempt's last code, then a new code goes out. The server's clock stands still here.
class CodeResendTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->freezeClock();
        QVERIFY(server->start());
        device = {};
    }
    void cleanup() { server.reset(); }

    void resendWaitsForTheCooldown_data() {
        QTest::addColumn<QString>("flow");
        QTest::newRow("sign-up email code") << "sign_up";
        QTest::newRow("sign-in email code") << "email_code";
        QTest::newRow("password reset code") << "reset_password_email_code";
    }

    void resendWaitsForTheCooldown() {
        QFETCH(QString, flow);
        const Flow attemptOf = start(flow);
        QCOMPARE(attemptOf.prepare().status, 200);
        const int sent = mailCount();

        const QList<QPair<qint64, QByteArray>> refusals{{0, "30"}, {10'000, "20"}, {19'001, "1"}, {998, "1"}};
        for (const auto& [advanceMs, retryAfter] : refusals) {
            server->advanceClock(advanceMs);
            const auto refused = attemptOf.prepare();
            QCOMPARE(refused.status, 429);
            QCOMPARE(refused.header("Retry-After"), retryAfter);
            QCOMPARE(refused.errorCode(), "too_many_requests");
            const QJsonObject error = refused.at("errors.0").toObject();
            QVERIFY(!error.value("message").toString().isEmpty());
            QVERIFY(!error.value("long_message").toString().isEmpty());
        }
        QCOMPARE(mailCount(), sent);

        server->advanceClock(1); // exactly 30 s after the first code
        QCOMPARE(attemptOf.prepare().status, 200);
        QCOMPARE(mailCount(), sent + 1);
        QCOMPARE(attemptOf.prepare().status, 429); // the cool-down starts again from the new code
        QCOMPARE(attemptOf.attempt("424242").status, 200);
    }

    void resendBringsANewCode() {
        const Flow signIn = start("email_code", "resend@orbelo.test");
        signIn.prepare();
        const QString first = server->lastCodeSentTo("resend@orbelo.test");
        server->advanceClock(30'000);
        signIn.prepare();
        const QString second = server->lastCodeSentTo("resend@orbelo.test");
        if (first == second)
            QSKIP("both random codes came out the same");
        QCOMPARE(signIn.attempt(first).errorCode(), "form_code_incorrect");
        QCOMPARE(signIn.attempt(second).at("response.status").toString(), "complete");
    }

    void emailCodesOfOneSignInShareTheCooldown() {
        start("email_code").prepare();
        const auto reset = server->form("POST", "/v1/client/sign_ins/" + signInId + "/prepare_first_factor",
                                        {{"strategy", "reset_password_email_code"}}, device);
        QCOMPARE(reset.status, 429);
        // A new sign-in is a new attempt with a cool-down of its own.
        QCOMPARE(start("email_code").prepare().status, 200);
    }

private:
    struct Flow {
        std::function<TestServer::Reply()> prepare;
        std::function<TestServer::Reply(const QString&)> attempt;
    };

    // A new attempt of `flow` for `email` on the device, and how to ask for and enter its code.
    Flow start(const QString& flow, const QString& email = "resend@example.com") {
        if (flow == "sign_up") {
            const QString path = createSignUp(email);
            return {[=, this] {
                        return server->form("POST", path + "/prepare_verification",
                                            {{"strategy", "email_code"}}, device);
                    },
                    [=, this](const QString& code) {
                        return server->form("POST", path + "/attempt_verification",
                                            {{"strategy", "email_code"}, {"code", code}}, device);
                    }};
        }
        if (!server->server().context().db.row("SELECT id FROM users WHERE email = ?", {email})) {
            const QString path = createSignUp(email);
            server->form("POST", path + "/prepare_verification", {{"strategy", "email_code"}}, device);
            server->form("POST", path + "/attempt_verification",
                         {{"strategy", "email_code"}, {"code", server->lastCodeSentTo(email)}}, device);
        }
        const auto created = server->form("POST", "/v1/client/sign_ins", {{"identifier", email}}, device);
        signInId = created.at("response.id").toString();
        const QString path = "/v1/client/sign_ins/" + signInId;
        return {[=, this] {
                    return server->form("POST", path + "/prepare_first_factor", {{"strategy", flow}}, device);
                },
                [=, this](const QString& code) {
                    return server->form("POST", path + "/attempt_first_factor",
                                        {{"strategy", flow}, {"code", code}}, device);
                }};
    }

    QString createSignUp(const QString& email) {
        const auto created = server->form("POST", "/v1/client/sign_ups",
                                          {{"email_address", email}, {"password", "password-1"}}, device);
        if (device.deviceToken.isEmpty())
            device.deviceToken = created.header("Authorization");
        return "/v1/client/sign_ups/" + created.at("response.id").toString();
    }

    int mailCount() {
        return server->server().context().db.row("SELECT COUNT(*) AS n FROM mailbox")->value("n").toInt();
    }

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString signInId;
};

QTEST_MAIN(CodeResendTest)
#include "CodeResendTest.moc"
