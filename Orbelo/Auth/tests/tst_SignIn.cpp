// moc needs a Qt header before <coroutine>.
#include <QtTest>

#include "Auth/SignInViewModel.h"
#include "BrowserAuthenticationSession.h"
#include "ClerkAPIError.h"
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
    SignUp updateAnswer;
    // The reset's answers: the code check, then the new password.
    SignIn resetCodeAnswer;
    SignIn resetAnswer;
    std::optional<ClerkAPIError> resetCodeError;
    std::optional<ClerkAPIError> resetPasswordError;
    std::optional<ClerkAPIError> resendError;

    template <class T> static async::Task<T> answer(T value, std::optional<ClerkAPIError> error = {}) {
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        if (error)
            throw *error;
        co_return value;
    }

    async::Task<SignIn> createSignIn(QString identifier, QString password) override {
        calls << QStringLiteral("createSignIn %1 %2").arg(identifier, password);
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        co_return signInAnswer;
    }
    async::Task<SignIn> prepareSecondFactor(QString signInId, FactorStrategy strategy) override {
        calls << QStringLiteral("prepareSecondFactor %1 %2").arg(signInId, strategy.rawValue());
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        co_return signInAnswer;
    }
    async::Task<SignIn> attemptSecondFactor(QString signInId, FactorStrategy strategy,
                                            QString code) override {
        calls << QStringLiteral("attemptSecondFactor %1 %2 %3").arg(signInId, strategy.rawValue(), code);
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
    async::Task<SignUp> updateSignUp(QString signUpId, SignUp::UpdateParams fields) override {
        QStringList sent;
        if (fields.firstName)
            sent << QStringLiteral("first_name=") + *fields.firstName;
        if (fields.lastName)
            sent << QStringLiteral("last_name=") + *fields.lastName;
        if (fields.legalAccepted)
            sent << QStringLiteral("legal_accepted=%1").arg(*fields.legalAccepted ? "true" : "false");
        calls << QStringLiteral("updateSignUp %1 %2").arg(signUpId, sent.join(' '));
        return answer(updateAnswer);
    }
    async::Task<SignUp> prepareVerification(QString signUpId, FactorStrategy strategy) override {
        calls << QStringLiteral("prepareVerification %1 %2").arg(signUpId, strategy.rawValue());
        return answer(signUpAnswer, resendError);
    }
    async::Task<SignIn> startPasswordReset(QString emailAddress) override {
        calls << QStringLiteral("startPasswordReset %1").arg(emailAddress);
        return answer(signInWith(SignIn::Status::needsFirstFactor));
    }
    async::Task<SignIn> resendPasswordResetCode(SignIn signIn) override {
        calls << QStringLiteral("resendPasswordResetCode %1").arg(signIn.id);
        return answer(signIn, resendError);
    }
    async::Task<SignIn> verifyPasswordResetCode(SignIn signIn, QString code) override {
        calls << QStringLiteral("verifyPasswordResetCode %1 %2").arg(signIn.id, code);
        return answer(resetCodeAnswer, resetCodeError);
    }
    async::Task<SignIn> resetPassword(QString signInId, QString password) override {
        calls << QStringLiteral("resetPassword %1 %2").arg(signInId, password);
        return answer(resetAnswer, resetPasswordError);
    }
    async::Task<SignUp> attemptVerification(QString signUpId, FactorStrategy strategy,
                                            QString code) override {
        calls << QStringLiteral("attemptVerification %1 %2 %3").arg(signUpId, strategy.rawValue(), code);
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        if (verificationError)
            throw *verificationError;
        co_return verificationAnswer;
    }
    async::Task<SignIn> createOAuthSignIn(OAuthProvider provider, QString redirectUrl) override {
        calls << QStringLiteral("createOAuthSignIn %1 %2")
                     .arg(FactorStrategy::oauth(provider).rawValue(), redirectUrl);
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        SignIn started = signInWith(SignIn::Status::needsFirstFactor);
        Verification verification;
        verification.externalVerificationRedirectUrl = QStringLiteral("https://auth.example/consent");
        started.firstFactorVerification = verification;
        co_return started;
    }
    async::Task<SignIn> reloadSignIn(QString signInId, QString rotatingTokenNonce) override {
        calls << QStringLiteral("reloadSignIn %1 %2").arg(signInId, rotatingTokenNonce);
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        co_return signInAnswer;
    }
    async::Task<SignUp> createTransferSignUp() override {
        calls << QStringLiteral("createTransferSignUp");
        co_await async::Clock::current().sleep(std::chrono::milliseconds(1));
        co_return signUpAnswer;
    }

    static SignIn signInWith(SignIn::Status status, const QStringList& secondFactors = {}) {
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
};

SignIn signInWith(SignIn::Status status, const QStringList& secondFactors = {}) {
    return FakeSignInService::signInWith(status, secondFactors);
}

SignUp signUpWith(SignUp::Status status, const QStringList& missingFields = {}) {
    SignUp signUp;
    signUp.id = QStringLiteral("sua_1");
    signUp.status = status;
    signUp.missingFields = missingFields;
    return signUp;
}

ClerkAPIError apiError(const QString& code, const QString& message) {
    ClerkAPIError error;
    error.code = code;
    error.longMessage = message;
    return error;
}

} // namespace

class SignInTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        clock = std::make_unique<async::VirtualClock>();
        useClock = std::make_unique<async::ScopedClock>(*clock);
        service = std::make_shared<FakeSignInService>();
        opened.clear();
        browser = std::make_unique<BrowserAuthenticationSession>([this](const QUrl& url) {
            opened << url;
            return true;
        });
        ClerkOptions::RedirectConfig redirect{QStringLiteral("com.orbelo.desktop://callback"),
                                              QStringLiteral("com.orbelo.desktop")};
        model = std::make_unique<SignInViewModel>(service, *browser, redirect);
    }
    void cleanup() {
        model.reset();
        browser.reset();
        useClock.reset();
        clock.reset();
    }

    // A completed sign-in leaves no message; the button reads "Submitting" only while it runs.
    void passwordSignInCompletes() {
        service->signInAnswer = signInWith(SignIn::Status::complete);
        model->form()->setEmail(QStringLiteral("  ada@example.com "));
        model->form()->setPassword(QStringLiteral("secret pass"));
        QCOMPARE(model->title(), QStringLiteral("Welcome back"));
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Sign in"));
        model->submit();
        QVERIFY(model->form()->isSubmitting());
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Submitting"));
        model->submit(); // a second press while running changes nothing
        clock->advance(std::chrono::milliseconds(1));
        QVERIFY(!model->form()->isSubmitting());
        QCOMPARE(service->calls, QStringList{"createSignIn ada@example.com secret pass"});
        QCOMPARE(model->form()->errorMessage(), QString());
        QCOMPARE(model->mode(), SignInViewModel::Mode::signIn);
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Sign in"));
    }

    void unfinishedSignInsSayTheirStatus() {
        service->signInAnswer = signInWith(SignIn::Status::needsFirstFactor);
        model->form()->setEmail(QStringLiteral("ada@example.com"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->form()->errorMessage(),
                 QStringLiteral("Verification incomplete. Status: needs_first_factor"));
        QCOMPARE(model->mode(), SignInViewModel::Mode::signIn);
    }

    // A second factor moves to its step and never says "Verification incomplete"; a texted code is
    // prepared when offered, and a backup code is always accepted.
    void secondFactorStep() {
        service->signInAnswer = signInWith(SignIn::Status::needsSecondFactor, {"totp", "phone_code"});
        model->form()->setEmail(QStringLiteral("ada@example.com"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->mode(), SignInViewModel::Mode::secondFactor);
        QCOMPARE(model->title(), QStringLiteral("Two-step verification"));
        QVERIFY(model->form()->isSubmitting()); // still preparing the texted code
        clock->advance(std::chrono::milliseconds(1));
        QVERIFY(!model->form()->isSubmitting());
        QCOMPARE(model->form()->errorMessage(), QString());
        QCOMPARE(service->calls.last(), QStringLiteral("prepareSecondFactor sia_1 phone_code"));
        QCOMPARE(model->subtitle(), QStringLiteral("Enter the code we texted you"));
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Verify"));

        model->secondFactor()->useBackupCode(true);
        QCOMPARE(model->subtitle(), QStringLiteral("Enter a backup code"));
        model->form()->setVerificationCode(QStringLiteral("abcd-efgh"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(service->calls.last(), QStringLiteral("attemptSecondFactor sia_1 backup_code abcd-efgh"));
        QCOMPARE(model->form()->errorMessage(), QString());
    }

    void secondFactorWithoutPhoneAsksForABackupCode() {
        service->signInAnswer = signInWith(SignIn::Status::needsSecondFactor, {"totp"});
        model->form()->setEmail(QStringLiteral("ada@example.com"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->mode(), SignInViewModel::Mode::secondFactor);
        QVERIFY(!model->form()->isSubmitting());
        QCOMPARE(model->subtitle(), QStringLiteral("Enter a backup code"));
        model->secondFactor()->useBackupCode(false); // no texted code to switch to
        QVERIFY(model->secondFactor()->usesBackupCode());
        QCOMPARE(service->calls.size(), 1);
    }

    // Sign-up: create, send the email code, then verify; a wrong code keeps the step with the
    // server's message, an incomplete one names its status.
    void signUpWithEmailCode() {
        service->signUpAnswer = signUpWith(SignUp::Status::missingRequirements);
        model->showSignUp();
        QCOMPARE(model->title(), QStringLiteral("Create your account"));
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Create account"));
        model->form()->setEmail(QStringLiteral("new@example.com"));
        model->form()->setPassword(QStringLiteral("pw"));
        model->submit();
        clock->advance(std::chrono::milliseconds(2));
        QCOMPARE(service->calls,
                 (QStringList{"createSignUp new@example.com pw", "prepareVerification sua_1 email_code"}));
        QCOMPARE(model->mode(), SignInViewModel::Mode::verify);
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Verify"));
        QVERIFY(!model->form()->isSubmitting());

        ClerkAPIError wrong;
        wrong.code = QStringLiteral("form_code_incorrect");
        wrong.longMessage = QStringLiteral("Incorrect code");
        service->verificationError = wrong;
        model->form()->setVerificationCode(QStringLiteral(" 111111 "));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(service->calls.last(), QStringLiteral("attemptVerification sua_1 email_code 111111"));
        QCOMPARE(model->mode(), SignInViewModel::Mode::verify);
        QCOMPARE(model->form()->errorMessage(), QStringLiteral("Incorrect code"));
        QVERIFY(!model->form()->isSubmitting());

        service->verificationError.reset();
        service->verificationAnswer = signUpWith(SignUp::Status::missingRequirements);
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->form()->errorMessage(),
                 QStringLiteral("Verification incomplete. Status: missing_requirements"));

        service->verificationAnswer = signUpWith(SignUp::Status::complete);
        model->form()->setVerificationCode(QStringLiteral("424242"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->form()->errorMessage(), QString());
    }

    // A verified sign-up that still lacks names or legal acceptance asks for exactly those and sends
    // them with the update; fields this screen cannot ask for end in the status message.
    void missingRequirementsAreAskedFor() {
        service->signUpAnswer = signUpWith(SignUp::Status::missingRequirements);
        service->verificationAnswer =
            signUpWith(SignUp::Status::missingRequirements, {"first_name", "legal_accepted"});
        model->showSignUp();
        model->form()->setEmail(QStringLiteral("new@example.com"));
        model->submit();
        clock->advance(std::chrono::milliseconds(2));
        model->form()->setVerificationCode(QStringLiteral("424242"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->mode(), SignInViewModel::Mode::completeSignUp);
        QCOMPARE(model->form()->errorMessage(), QString());
        QVERIFY(model->completion()->needsFirstName());
        QVERIFY(!model->completion()->needsLastName());
        QVERIFY(model->completion()->needsLegalAcceptance());
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Continue"));

        service->updateAnswer = signUpWith(SignUp::Status::missingRequirements, {"legal_accepted"});
        model->completion()->setFirstName(QStringLiteral(" Ada "));
        model->completion()->setLastName(QStringLiteral("not asked for"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(service->calls.last(),
                 QStringLiteral("updateSignUp sua_1 first_name=Ada legal_accepted=false"));
        QCOMPARE(model->mode(), SignInViewModel::Mode::completeSignUp);
        QCOMPARE(model->form()->errorMessage(), QStringLiteral("Please fill in every field to continue."));
        QVERIFY(!model->completion()->needsFirstName());

        service->updateAnswer = signUpWith(SignUp::Status::complete);
        model->completion()->setLegalAccepted(true);
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(service->calls.last(), QStringLiteral("updateSignUp sua_1 legal_accepted=true"));
        QCOMPARE(model->form()->errorMessage(), QString());

        service->verificationAnswer =
            signUpWith(SignUp::Status::missingRequirements, {"first_name", "phone_number"});
        model->showSignUp();
        model->submit();
        clock->advance(std::chrono::milliseconds(2));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->mode(), SignInViewModel::Mode::verify);
        QCOMPARE(model->form()->errorMessage(),
                 QStringLiteral("Verification incomplete. Status: missing_requirements"));
    }

    // A sent code may be sent again 30 s later, not a second sooner; a refused resend says why and
    // can be tried again.
    void resendingTheCodeWaitsOutTheCooldown() {
        service->signUpAnswer = signUpWith(SignUp::Status::missingRequirements);
        model->showSignUp();
        QVERIFY(!model->resend()->canResendCode());
        model->form()->setEmail(QStringLiteral("new@example.com"));
        model->submit();
        clock->advance(std::chrono::milliseconds(2));
        QCOMPARE(model->resend()->resendCodeLabel(), QStringLiteral("Resend code in 30 s"));
        clock->advance(std::chrono::seconds(29));
        QCOMPARE(model->resend()->resendCodeLabel(), QStringLiteral("Resend code in 1 s"));
        model->resend()->resendCode();
        QCOMPARE(service->calls.size(), 2);
        clock->advance(std::chrono::seconds(1));
        QVERIFY(model->resend()->canResendCode());
        QCOMPARE(model->resend()->resendCodeLabel(), QStringLiteral("Resend code"));

        service->resendError =
            apiError(QStringLiteral("too_many_requests"), QStringLiteral("Too many codes"));
        model->resend()->resendCode();
        QCOMPARE(model->resend()->resendCodeLabel(), QStringLiteral("Sending…"));
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->form()->errorMessage(), QStringLiteral("Too many codes"));
        QVERIFY(model->resend()->canResendCode());

        service->resendError.reset();
        model->resend()->resendCode();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(service->calls.last(), QStringLiteral("prepareVerification sua_1 email_code"));
        QCOMPARE(model->resend()->resendCodeLabel(), QStringLiteral("Resend code in 30 s"));
        model->showSignIn();
        QVERIFY(!model->resend()->canResendCode());
    }

    // "Forgot password?": the code goes to the address, a wrong code keeps the step, a refused new
    // password is sent again without the code, and an account with a second factor goes on to it.
    void passwordResetByEmailedCode() {
        model->form()->setEmail(QStringLiteral("ada@example.com"));
        model->form()->setPassword(QStringLiteral("forgotten"));
        model->showPasswordReset();
        QCOMPARE(model->mode(), SignInViewModel::Mode::resetPassword);
        QCOMPARE(model->form()->password(), QString());
        QCOMPARE(model->primaryButtonLabel(), QStringLiteral("Send code"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(service->calls.last(), QStringLiteral("startPasswordReset ada@example.com"));
        QCOMPARE(model->mode(), SignInViewModel::Mode::newPassword);
        QCOMPARE(model->resend()->resendCodeLabel(), QStringLiteral("Resend code in 30 s"));

        service->resetCodeError =
            apiError(QStringLiteral("form_code_incorrect"), QStringLiteral("Incorrect code"));
        model->form()->setVerificationCode(QStringLiteral("000000"));
        model->form()->setPassword(QStringLiteral("brand new pass"));
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->form()->errorMessage(), QStringLiteral("Incorrect code"));
        QCOMPARE(model->mode(), SignInViewModel::Mode::newPassword);

        service->resetCodeError.reset();
        service->resetCodeAnswer = signInWith(SignIn::Status::needsNewPassword);
        service->resetPasswordError =
            apiError(QStringLiteral("form_password_length_too_short"), QStringLiteral("Too short"));
        model->form()->setVerificationCode(QStringLiteral("424242"));
        model->submit();
        clock->advance(std::chrono::milliseconds(2));
        QCOMPARE(model->form()->errorMessage(), QStringLiteral("Too short"));

        const qsizetype before = service->calls.size();
        service->resetPasswordError.reset();
        service->resetAnswer = signInWith(SignIn::Status::needsSecondFactor, {"backup_code"});
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(service->calls.mid(before), QStringList{"resetPassword sia_1 brand new pass"});
        QCOMPARE(model->mode(), SignInViewModel::Mode::secondFactor);
        QCOMPARE(model->form()->errorMessage(), QString());
    }

    // A code the server did not accept for a reset names the sign-in's status.
    void aResetCodeThatLeadsNowhereSaysSo() {
        model->form()->setEmail(QStringLiteral("ada@example.com"));
        model->showPasswordReset();
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        service->resetCodeAnswer = signInWith(SignIn::Status::needsFirstFactor);
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->form()->errorMessage(),
                 QStringLiteral("Verification incomplete. Status: needs_first_factor"));
        QVERIFY(!service->calls.last().startsWith(QStringLiteral("resetPassword")));
    }

    // The browser flow: the page opens, the callback's nonce reloads the sign-in, and an account
    // that needs a second factor moves to that step as a password sign-in would.
    void browserSignInCarriesTheNonceIntoTheReload() {
        service->signInAnswer = signInWith(SignIn::Status::needsSecondFactor, {"backup_code"});
        model->browser()->signInWithApple();
        QVERIFY(model->browser()->isAppleSigningIn());
        QVERIFY(!model->browser()->isGoogleSigningIn());
        model->browser()->signInWithGoogle(); // one browser sign-in at a time
        model->submit();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://auth.example/consent"))});
        QVERIFY(browser->isWaiting());
        browser->complete(QUrl(QStringLiteral("com.orbelo.desktop://callback?rotating_token_nonce=n%2B1")));
        QTRY_COMPARE(service->calls.size(), 2);
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(service->calls, (QStringList{"createOAuthSignIn oauth_apple com.orbelo.desktop://callback",
                                              "reloadSignIn sia_1 n+1"}));
        QVERIFY(!model->browser()->isAppleSigningIn());
        QCOMPARE(model->mode(), SignInViewModel::Mode::secondFactor);
        QCOMPARE(model->form()->errorMessage(), QString());
    }

    // Cancelling the wait returns to the form without a message; the late callback is dropped.
    void cancellingTheBrowserWaitIsQuiet() {
        model->browser()->signInWithGoogle();
        clock->advance(std::chrono::milliseconds(1));
        QVERIFY(browser->isWaiting());
        model->browser()->cancel();
        QVERIFY(!model->browser()->isGoogleSigningIn());
        QVERIFY(!browser->isWaiting());
        QTest::ignoreMessage(QtWarningMsg, "Continuation already completed. Ignoring.");
        browser->complete(QUrl(QStringLiteral("com.orbelo.desktop://callback?rotating_token_nonce=late")));
        clock->advance(std::chrono::milliseconds(5));
        QCOMPARE(service->calls.size(), 1);
        QCOMPARE(model->form()->errorMessage(), QString());
    }

    // An empty callback fails the sign-in with its message; a second one is ignored. A URL of
    // another scheme is not a callback and leaves the wait alone.
    void anEmptyCallbackSaysSo() {
        model->browser()->signInWithGoogle();
        clock->advance(std::chrono::milliseconds(1));
        browser->complete(QUrl(QStringLiteral("https://orbelo.app/elsewhere")));
        QVERIFY(browser->isWaiting());
        browser->complete(QUrl());
        QTRY_COMPARE(model->form()->errorMessage(), QStringLiteral("Missing callback URL"));
        QVERIFY(!model->browser()->isGoogleSigningIn());
        QTest::ignoreMessage(QtWarningMsg, "Continuation already completed. Ignoring.");
        browser->complete(QUrl(QStringLiteral("com.orbelo.desktop://callback")));
        QCOMPARE(service->calls.size(), 1);
    }

    // An unknown account: the reload answers "transferable" and the transfer sign-up completes it.
    void aTransferableAccountIsCreated() {
        SignIn transferable = signInWith(SignIn::Status::needsIdentifier);
        Verification verification;
        verification.status = QStringLiteral("transferable");
        transferable.firstFactorVerification = verification;
        service->signInAnswer = transferable;
        service->signUpAnswer = signUpWith(SignUp::Status::missingRequirements);
        model->browser()->signInWithGoogle();
        clock->advance(std::chrono::milliseconds(1));
        browser->complete(QUrl(QStringLiteral("com.orbelo.desktop://callback?rotating_token_nonce=x")));
        QTRY_COMPARE(service->calls.size(), 2);
        clock->advance(std::chrono::milliseconds(2));
        QCOMPARE(service->calls.last(), QStringLiteral("createTransferSignUp"));
        QCOMPARE(model->form()->errorMessage(),
                 QStringLiteral("Verification incomplete. Status: missing_requirements"));
        QVERIFY(!model->browser()->isGoogleSigningIn());
    }

    // A browser that cannot be opened is reported.
    void noBrowserIsReported() {
        model.reset();
        browser = std::make_unique<BrowserAuthenticationSession>([](const QUrl&) { return false; });
        model = std::make_unique<SignInViewModel>(
            service, *browser,
            ClerkOptions::RedirectConfig{QStringLiteral("com.orbelo.desktop://callback"),
                                         QStringLiteral("com.orbelo.desktop")});
        model->browser()->signInWithApple();
        clock->advance(std::chrono::milliseconds(1));
        QCOMPARE(model->form()->errorMessage(), QStringLiteral("Couldn't open your web browser."));
        QVERIFY(!model->browser()->isAppleSigningIn());
    }

    // The screen going away mid-request ends the request; nothing touches the model afterwards.
    void destroyingTheScreenEndsItsRequest() {
        service->signInAnswer = signInWith(SignIn::Status::complete);
        model->form()->setEmail(QStringLiteral("ada@example.com"));
        model->submit();
        model.reset();
        QCOMPARE(clock->pendingTimers(), 0);
        clock->advance(std::chrono::milliseconds(5));
    }

private:
    std::unique_ptr<async::VirtualClock> clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::shared_ptr<FakeSignInService> service;
    QList<QUrl> opened;
    std::unique_ptr<BrowserAuthenticationSession> browser;
    std::unique_ptr<SignInViewModel> model;
};

QTEST_GUILESS_MAIN(SignInTest)
#include "tst_SignIn.moc"
