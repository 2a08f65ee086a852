// Sign-in with a second factor against the local server: the password answers
// "needs_second_factor", a texted code is prepared and attempted, and the session it creates
// becomes the current one.
#include <QtTest>

#include "Clerk.h"
#include "InMemorySecretStore.h"
#include "TaskProbe.h"
#include "TestServer.h"
#include "VirtualClock.h"

#include <QRegularExpression>

namespace {

template <class T> const T& finish(TaskProbe<T>& probe) {
    if (!QTest::qWaitFor([&] { return probe.done(); }, 30'000))
        qFatal("the call did not end");
    if (!probe.succeeded())
        qFatal("the call failed: %s", qPrintable(probe.errorText()));
    return probe.value();
}

// The newest code the server delivered.
QString lastCode(TestServer& server) {
    const QByteArray page = server.send("GET", QStringLiteral("/mailbox")).body;
    return QRegularExpression(QStringLiteral("verification code is (\\d{6})"))
        .match(QString::fromUtf8(page))
        .captured(1);
}

} // namespace

class ClerkLocalSignInTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void secondFactorByTextedCode() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        TestServer server;
        QVERIFY(server.start());
        server.trustCertificate();

        const QString email = QStringLiteral("grace@example.com");
        const QString password = QStringLiteral("compilers-1952");
        server.signUp(email, password);
        const TestServer::Reply enabled =
            server.send("POST", QStringLiteral("/__control/second-factor"),
                        R"({"email":"grace@example.com","phone_number":"+15550100"})",
                        {{"Content-Type", "application/json"}});
        QCOMPARE(enabled.status, 200);

        Clerk clerk(std::make_shared<InMemorySecretStore>());
        clerk.configure(server.publishableKey());

        TaskProbe<SignIn> created(clerk.signIns().createWithPassword(email, password));
        const SignIn signIn = finish(created);
        QCOMPARE(signIn.status, SignIn::Status::needsSecondFactor);
        QVERIFY(!clerk.session());

        SignIn::PrepareSecondFactorParams prepare;
        prepare.strategy = FactorStrategy::phoneCode();
        TaskProbe<SignIn> prepared(clerk.signIns().prepareSecondFactor(signIn.id, prepare));
        QCOMPARE(finish(prepared).secondFactorVerification->strategy, QStringLiteral("phone_code"));

        SignIn::AttemptSecondFactorParams attempt;
        attempt.strategy = FactorStrategy::phoneCode();
        attempt.code = lastCode(server);
        QCOMPARE(attempt.code->size(), 6);
        TaskProbe<SignIn> attempted(clerk.signIns().attemptSecondFactor(signIn.id, attempt));
        const SignIn complete = finish(attempted);
        QCOMPARE(complete.status, SignIn::Status::complete);
        QVERIFY(clerk.session());
        QCOMPARE(clerk.session()->id, complete.createdSessionId.value_or(QString()));
    }
};

QTEST_GUILESS_MAIN(ClerkLocalSignInTest)
#include "tst_ClerkLocalSignIn.moc"
