#include "Auth/GuessLimiter.h"
#include "Auth/GuessLimits.h"
#include "Auth/VerificationCode.h"
#include "ServerContext.h"
#include "TestServer.h"

#include <QTest>

// Wrong codes and passwords are counted per attempt, address, account and device, whatever new
// codes or attempts come between; a full counter answers 429 with Retry-After, even to the right
// secret. The server's clock stands still here.
class GuessLimitTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        server->freezeClock();
        QVERIFY(server->start());
        server->signUp(member, password);
        device = {};
    }
    void cleanup() { server.reset(); }

    void codeCountOutlivesNewCodes_data() {
        QTest::addColumn<QString>("flow");
        QTest::newRow("sign-up email code") << "sign_up";
        QTest::newRow("sign-in email code") << "email_code";
        QTest::newRow("password reset code") << "reset_password_email_code";
    }

    void codeCountOutlivesNewCodes() {
        QFETCH(QString, flow);
        const Attempt attempt = start(flow, device);
        for (const int wrongCodes : {3, 2}) { // each round with a new code
            server->advanceClock(VerificationCode::resendCooldownMs);
            QCOMPARE(prepare(attempt, device).status, 200);
            for (int i = 0; i < wrongCodes; ++i)
                QCOMPARE(enter(attempt, wrongCode, device).errorCode(), "form_code_incorrect");
        }
        const QString code = server->lastCodeSentTo(attempt.address);
        const qint64 cooldownMs = GuessLimits::codesPerAttempt.cooldownMs;
        verifyRefused(enter(attempt, code, device), cooldownMs / 1000, "code");
        server->advanceClock(cooldownMs - 1);
        verifyRefused(enter(attempt, code, device), 1, "code");
        server->advanceClock(1);
        QCOMPARE(enter(attempt, code, device).status, 200);
    }

    void newAttemptsShareTheAddressCount() {
        TestServer::Device other;
        Attempt attempt;
        for (const auto& [on, wrongCodes] : {std::pair{&device, 5}, {&device, 4}, {&other, 1}}) {
            attempt = start("email_code", *on);
            QCOMPARE(prepare(attempt, *on).status, 200);
            for (int i = 0; i < wrongCodes; ++i)
                QCOMPARE(enter(attempt, wrongCode, *on).status, 422);
        }
        const qint64 cooldownMs = GuessLimits::codesPerAddress.cooldownMs;
        verifyRefused(enter(attempt, server->lastCodeSentTo(member), other), cooldownMs / 1000, "code");
        server->advanceClock(cooldownMs); // the code has expired meanwhile
        QCOMPARE(prepare(attempt, other).status, 200);
        QCOMPARE(enter(attempt, server->lastCodeSentTo(member), other).status, 200);
    }

    void passwordGuessesFromTwoDevicesShareTheAccountCount() {
        TestServer::Device second, third;
        for (int i = 0; i < 9; ++i)
            QCOMPARE(signIn(device, "wrong-password").errorCode(), "form_password_incorrect");
        QCOMPARE(signIn(device, password).status, 200); // and the count starts again
        for (int i = 0; i < 5; ++i)
            QCOMPARE(signIn(device, "wrong-password").status, 422);
        const Attempt attempt = start("password", second);
        for (int i = 0; i < 5; ++i) {
            const auto wrong = server->form(
                "POST", attempt.enter, {{"strategy", "password"}, {"password", "wrong-password"}}, second);
            QCOMPARE(wrong.errorCode(), "form_password_incorrect");
        }
        const qint64 cooldownMs = GuessLimits::passwordsPerAccount.cooldownMs;
        const auto refused = signIn(third, password);
        verifyRefused(refused, cooldownMs / 1000, "password");
        QVERIFY(!refused.header("Authorization").isEmpty());
        server->advanceClock(cooldownMs - 1);
        verifyRefused(signIn(third, password), 1, "password");
        server->advanceClock(1);
        QCOMPARE(signIn(third, password).at("response.status").toString(), "complete");
    }

    void oneDeviceIsLimitedAcrossAccounts() {
        const QStringList accounts{"a@example.com", "b@example.com", "c@example.com"};
        for (int guess = 0; guess < GuessLimits::secretsPerClient.maxFailures; ++guess) {
            const QString& account = accounts.at(guess % accounts.size());
            if (guess < accounts.size())
                server->signUp(account, password);
            QCOMPARE(signIn(device, "wrong-password", account).status, 422);
        }
        verifyRefused(signIn(device, password, accounts.last()),
                      GuessLimits::secretsPerClient.cooldownMs / 1000, "password");
        TestServer::Device other;
        QCOMPARE(signIn(other, password, accounts.last()).status, 200);
    }

    // Concurrent guesses: one admitted and still being compared keeps its place, and a guess
    // refused on one counter gives back the places it took on the others.
    void aGuessHoldsItsPlaceUntilItsOutcome() {
        auto limiter = [&](const QStringList& keys) {
            GuessLimiter made(server->server().context().db, server->server().context().nowMs(), "Too many.",
                              "code");
            for (const QString& key : keys)
                made.count(key, {1, 60'000, 10'000, false});
            return made;
        };
        // The Retry-After of the refusal; empty when admitted.
        auto retryAfter = [&](const QStringList& keys) {
            const auto refused = limiter(keys).admit();
            return refused ? refused->headerValue("Retry-After") : QByteArray();
        };
        GuessLimiter comparing = limiter({"b"});
        QVERIFY(!comparing.admit());
        QCOMPARE(retryAfter({"a", "b"}), "1");
        comparing.failed();
        QCOMPARE(retryAfter({"a", "b"}), "10");
        QCOMPARE(retryAfter({"a"}), "");
    }

private:
    struct Attempt {
        QString prepare, enter, strategy, address;
    };

    // Starts a sign-up (`flow` "sign_up") or a sign-in with `flow` as its first factor on `on`.
    Attempt start(const QString& flow, TestServer::Device& on) {
        const bool signUp = flow == "sign_up";
        const auto created = signUp
                                 ? server->form("POST", "/v1/client/sign_ups",
                                                {{"email_address", newcomer}, {"password", password}}, on)
                                 : server->form("POST", "/v1/client/sign_ins", {{"identifier", member}}, on);
        if (on.deviceToken.isEmpty())
            on.deviceToken = created.header("Authorization");
        const QString path =
            (signUp ? "/v1/client/sign_ups/" : "/v1/client/sign_ins/") + created.at("response.id").toString();
        if (signUp)
            return {path + "/prepare_verification", path + "/attempt_verification", "email_code", newcomer};
        return {path + "/prepare_first_factor", path + "/attempt_first_factor", flow, member};
    }

    TestServer::Reply prepare(const Attempt& attempt, const TestServer::Device& on) {
        return server->form("POST", attempt.prepare, {{"strategy", attempt.strategy}}, on);
    }

    TestServer::Reply enter(const Attempt& attempt, const QString& code, const TestServer::Device& on) {
        return server->form("POST", attempt.enter, {{"strategy", attempt.strategy}, {"code", code}}, on);
    }

    TestServer::Reply signIn(TestServer::Device& on, const QString& given, const QString& identifier = {}) {
        const auto reply = server->form(
            "POST", "/v1/client/sign_ins",
            {{"identifier", identifier.isEmpty() ? member : identifier}, {"password", given}}, on);
        if (on.deviceToken.isEmpty())
            on.deviceToken = reply.header("Authorization");
        return reply;
    }

    static void verifyRefused(const TestServer::Reply& reply, qint64 retryAfterSeconds,
                              const QString& param) {
        QCOMPARE(reply.status, 429);
        QCOMPARE(reply.header("Retry-After"), QByteArray::number(retryAfterSeconds));
        QCOMPARE(reply.errorCode(), "too_many_requests");
        QCOMPARE(reply.at("errors.0.meta.param_name").toString(), param);
        QVERIFY(reply.at("errors.0.long_message").toString().contains(QString::number(retryAfterSeconds)));
    }

    // Mailed codes are random: a clash with this one fails a run in a million.
    const QString wrongCode = "000000";
    const QString member = "member@example.com";
    const QString newcomer = "newcomer@example.com";
    const QString password = "password-1";
    std::unique_ptr<TestServer> server;
    TestServer::Device device;
};

QTEST_MAIN(GuessLimitTest)
#include "GuessLimitTest.moc"
