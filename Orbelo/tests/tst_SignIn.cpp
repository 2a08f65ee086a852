// moc needs a Qt header before <coroutine>.
#include <QtTest>

#include "ClerkAPIError.h"
#include "SignInViewModel.h"
#include "VirtualClock.h"

namespace {

// Answers as scripted after 1 ms of virtual time, recording every call.
class FakeSignInService final : public SignInService {
public:
    QStringList calls;
    SignIn signInAnswer;
    SignUp signUpAnswer;
    SignUp verificationAnswer;
    std::optional<ClerkAPIError> verificationError;

    async::Task<SignIn> createSignIn(QString identifier, QString password) override {
        calls << QStringLiteral("createSignIn %1 %2").arg(identifier, password);
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        co_return signInAnswer;
    }
    async::Task<SignIn> prepareSecondFactor(QString signInId, QString strategy) override {
        calls << QStringLiteral("prepareSecondFactor %1 %2").arg(signInId, strategy);
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        co_return signInAnswer;
    }
    async::Task<SignIn> attemptSecondFactor(QString signInId, QString strategy, QString code) override {
        calls << QStringLiteral("attemptSecondFactor %1 %2 %3").arg(signInId, strategy, code);
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        SignIn done = signInAnswer;
        done.status = SignIn::Status::complete;
        co_return done;
    }
    async::Task<SignUp> createSignUp(QString emailAddress, QString password) override {
        calls << QStringLiteral("createSignUp %1 %2").arg(emailAddress, password);
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        co_return signUpAnswer;
    }
    async::Task<SignUp> prepareVerification(QString signUpId, QString strategy) override {
        calls << QStringLiteral("prepareVerification %1 %2").arg(signUpId, strategy);
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        co_return signUpAnswer;
    }
    async::Task<SignUp> attemptVerification(QString signUpId, QString strategy, QString code) override {
        calls << QStringLiteral("attemptVerification %1 %2 %3").arg(signUpId, strategy, code);
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        if (verificationError)
            throw *verificationError;
        co_return verificationAnswer;
    }
};

SignIn signInWith(SignIn::Status status, const QStringList& secondFactors = {}) {
    SignIn signIn;
    signIn.id = QStringLiteral("sia_1");
    signIn.status = status;
    QList<Factor> factors;
    for (const QString& strategy : secondFactors) {
        Factor factor;
        factor.strategy = strategy;
        factors << factor;
    }
    signIn.supportedSecondFactors = factors;
    return signIn;
}

SignUp signUpWith(SignUp::Status status) {
    SignUp signUp;
    signUp.id = QStringLiteral("sua_1");
    signUp.status = status;
    return signUp;
}

} // namespace

class SignInTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        clock = std::make_unique<async::VirtualClock>();
        useClock = std::make_unique<async::ScopedClock>(*clock);
        service = std::make_shared<FakeSignInService>();
        model = std::make_unique<SignInViewModel>(service);
    }
    void cleanup() {
        model.reset();
        useClock.reset();
        clock.reset();
    }

    // A completed sign-in leaves no message; the button reads "Submitting" only while it runs.
    void passwordSignInCompletes() {
        service->signInAnswer = signInWith(SignIn::Status::complete);
        model->setEmail(QStringLiteral("  ada@example.com "));
        model->setPassword(QStringLiteral("secret pass"));
        QCOMPARE(model->title(), QStringLiteral("Welcome back"));
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Sign in"));
        model->submit();
        QVERIFY(model->isSubmitting());
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Submitting"));
        model->submit(); // a second press while running changes nothing
        clock->advance(std::chrono::milliseconds(1));
        QVERIFY(!model->isSubmitting());
        QCOMPARE(service->calls, QStringList{"createSignIn ada@example.com secret pass"});
        QCOMPARE(model->errorMessage(), QString());
        QCOMPARE(model->mode(), SignInViewModel::Mode::signIn);
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Sign in"));
    }

    void unfinishedSignInsSayTheirStatus() {
        service->signInAnswer = signInWith(SignIn::Status::needsFirstFactor);
        model->setEmail(QStringLiteral("ada@example.com"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->errorMessage(),
                 QStringLiteral("Verification incomplete. Status: needs_first_factor"));
        QCOMPARE(model->mode(), SignInViewModel::Mode::signIn);
    }

    void anEmptyEmailIsRefusedWithoutARequest() {
        for (auto show : {&SignInViewModel::showSignIn, &SignInViewModel::showSignUp}) {
            (model.get()->*show)();
            model->setEmail(QStringLiteral("   "));
            model->submit();
            QCOMPARE(model->errorMessage(), QStringLiteral("Email address is required."));
            QVERIFY(!model->isSubmitting());
        }
        QVERIFY(service->calls.isEmpty());
    }

    // A second factor moves to its step and never says "Verification incomplete"; a texted code is
    // prepared when offered, and a backup code is always accepted.
    void secondFactorStep() {
        service->signInAnswer = signInWith(SignIn::Status::needsSecondFactor, {"totp", "phone_code"});
        model->setEmail(QStringLiteral("ada@example.com"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->mode(), SignInViewModel::Mode::secondFactor);
        QCOMPARE(model->title(), QStringLiteral("Two-step verification"));
        QVERIFY(model->isSubmitting()); // still preparing the texted code
        clock->advance(std::chrono::milliseconds(1));
        QVERIFY(!model->isSubmitting());
        QCOMPARE(model->errorMessage(), QString());
        QCOMPARE(service->calls.last(), QStringLiteral("prepareSecondFactor sia_1 phone_code"));
        QCOMPARE(model->subtitle(), QStringLiteral("Enter the code we texted you"));
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Verify"));

        model->useBackupCode(true);
        QCOMPARE(model->subtitle(), QStringLiteral("Enter a backup code"));
        model->setVerificationCode(QStringLiteral("abcd-efgh"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(service->calls.last(), QStringLiteral("attemptSecondFactor sia_1 backup_code abcd-efgh"));
        QCOMPARE(model->errorMessage(), QString());
    }

    void secondFactorWithoutPhoneAsksForABackupCode() {
        service->signInAnswer = signInWith(SignIn::Status::needsSecondFactor, {"totp"});
        model->setEmail(QStringLiteral("ada@example.com"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->mode(), SignInViewModel::Mode::secondFactor);
        QVERIFY(!model->isSubmitting());
        QCOMPARE(model->subtitle(), QStringLiteral("Enter a backup code"));
        model->useBackupCode(false); // no texted code to switch to
        QVERIFY(model->usesBackupCode());
        QCOMPARE(service->calls.size(), 1);
    }

    // Sign-up: create, send the email code, then verify; a wrong code keeps the step with the
    // server's message, an incomplete one names its status.
    void signUpWithEmailCode() {
        service->signUpAnswer = signUpWith(SignUp::Status::missingRequirements);
        model->showSignUp();
        QCOMPARE(model->title(), QStringLiteral("Create your account"));
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Create account"));
        model->setEmail(QStringLiteral("new@example.com"));
        model->setPassword(QStringLiteral("pw"));
        model->submit();
        clock->advance(std::chrono::milliseconds(2));
        QCOMPARE(service->calls,
                 (QStringList{"createSignUp new@example.com pw", "prepareVerification sua_1 email_code"}));
        QCOMPARE(model->mode(), SignInViewModel::Mode::verify);
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Verify"));
        QVERIFY(!model->isSubmitting());

        ClerkAPIError wrong;
        wrong.code = QStringLiteral("form_code_incorrect");
        wrong.longMessage = QStringLiteral("Incorrect code");
        service->verificationError = wrong;
        model->setVerificationCode(QStringLiteral(" 111111 "));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(service->calls.last(), QStringLiteral("attemptVerification sua_1 email_code 111111"));
        QCOMPARE(model->mode(), SignInViewModel::Mode::verify);
        QCOMPARE(model->errorMessage(), QStringLiteral("Incorrect code"));
        QVERIFY(!model->isSubmitting());

        service->verificationError.reset();
        service->verificationAnswer = signUpWith(SignUp::Status::missingRequirements);
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->errorMessage(),
                 QStringLiteral("Verification incomplete. Status: missing_requirements"));

        service->verificationAnswer = signUpWith(SignUp::Status::complete);
        model->setVerificationCode(QStringLiteral("424242"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->errorMessage(), QString());
    }

    // The screen going away mid-request ends the request; nothing touches the model afterwards.
    void destroyingTheScreenEndsItsRequest() {
        service->signInAnswer = signInWith(SignIn::Status::complete);
        model->setEmail(QStringLiteral("ada@example.com"));
        model->submit();
        model.reset();
        QCOMPARE(clock->pendingTimers(), 0);
        clock->advance(std::chrono::milliseconds(5));
    }

private:
    std::unique_ptr<async::VirtualClock> clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::shared_ptr<FakeSignInService> service;
    std::unique_ptr<SignInViewModel> model;
};

QTEST_GUILESS_MAIN(SignInTest)
#include "tst_SignIn.moc"
