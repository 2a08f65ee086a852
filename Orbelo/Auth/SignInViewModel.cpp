#include "Auth/SignInViewModel.h"

#include "Auth/ClerkSignInService.h"
#include "BrowserAuthenticationSession.h"
#include "Clerk.h"
#include "ClerkClientError.h"
#include "Clock.h"
#include "Common/FailureMessage.h"

#include <QMetaEnum>
#include <QUrlQuery>

namespace {

template <class Status> QString rawValue(const std::optional<Status>& status) {
    if (!status)
        return QStringLiteral("unknown");
    for (const auto& [value, raw] : jsonRawValues(Status{}))
        if (value == *status)
            return QString::fromLatin1(raw);
    return QStringLiteral("unknown");
}

QString incomplete(const QString& status) {
    return QStringLiteral("Verification incomplete. Status: %1").arg(status);
}

// The fields this screen can ask for when a sign-up lacks them.
const QStringList completableFields{QStringLiteral("first_name"), QStringLiteral("last_name"),
                                    QStringLiteral("legal_accepted")};

bool isCancellation(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const WebAuthenticationError& e) {
        return e.code() == WebAuthenticationError::Code::canceledLogin;
    } catch (...) {
        return false;
    }
}

} // namespace

SignInViewModel::SignInViewModel(QObject* parent)
    : SignInViewModel(std::make_shared<ClerkSignInService>(Clerk::shared()),
                      BrowserAuthenticationSession::shared(),
                      Clerk::shared().configuration().options.redirectConfig, parent) {}

SignInViewModel::SignInViewModel(std::shared_ptr<SignInService> service, WebAuthenticationSession& browser,
                                 ClerkOptions::RedirectConfig redirect, QObject* parent)
    : QObject(parent), service_(std::move(service)), browser_(browser), redirect_(std::move(redirect)) {}

SignInViewModel::~SignInViewModel() = default;

void SignInViewModel::setEmail(const QString& email) {
    if (email == email_)
        return;
    email_ = email;
    Q_EMIT emailChanged();
}

void SignInViewModel::setPassword(const QString& password) {
    if (password == password_)
        return;
    password_ = password;
    Q_EMIT passwordChanged();
}

void SignInViewModel::setVerificationCode(const QString& code) {
    if (code == verificationCode_)
        return;
    verificationCode_ = code;
    Q_EMIT verificationCodeChanged();
}

void SignInViewModel::setFirstName(const QString& name) {
    if (name == firstName_)
        return;
    firstName_ = name;
    Q_EMIT firstNameChanged();
}

void SignInViewModel::setLastName(const QString& name) {
    if (name == lastName_)
        return;
    lastName_ = name;
    Q_EMIT lastNameChanged();
}

void SignInViewModel::setLegalAccepted(bool accepted) {
    if (accepted == legalAccepted_)
        return;
    legalAccepted_ = accepted;
    Q_EMIT legalAcceptedChanged();
}

bool SignInViewModel::canResendCode() const {
    return (mode_ == Mode::verify || mode_ == Mode::newPassword) && resendSecondsLeft_ == 0 &&
           !isResending_ && !isSubmitting_;
}

QString SignInViewModel::resendCodeLabel() const {
    if (resendSecondsLeft_ > 0)
        return QStringLiteral("Resend code in %1 s").arg(resendSecondsLeft_);
    return isResending_ ? QStringLiteral("Sending…") : QStringLiteral("Resend code");
}

QString SignInViewModel::modeName() const {
    return QString::fromLatin1(QMetaEnum::fromType<Mode>().valueToKey(int(mode_)));
}

QString SignInViewModel::title() const {
    switch (mode_) {
    case Mode::signIn:
        return QStringLiteral("Welcome back");
    case Mode::signUp:
        return QStringLiteral("Create your account");
    case Mode::verify:
        return QStringLiteral("Check your email");
    case Mode::secondFactor:
        return QStringLiteral("Two-step verification");
    case Mode::completeSignUp:
        return QStringLiteral("Finish creating your account");
    case Mode::resetPassword:
        return QStringLiteral("Reset your password");
    case Mode::newPassword:
        return QStringLiteral("Choose a new password");
    }
    return {};
}

QString SignInViewModel::subtitle() const {
    switch (mode_) {
    case Mode::signIn:
        return QStringLiteral("Sign in to pick up where you left off.");
    case Mode::signUp:
        return QStringLiteral("Study smarter with courses, cards and quizzes made from your own material.");
    case Mode::verify:
        return QStringLiteral("We sent a 6-digit code to %1.").arg(email_.trimmed());
    case Mode::secondFactor:
        return usesBackupCode() ? QStringLiteral("Enter a backup code")
                                : QStringLiteral("Enter the code we texted you");
    case Mode::completeSignUp:
        return QStringLiteral("Your email is verified. A few more details and you're in.");
    case Mode::resetPassword:
        return QStringLiteral("We'll email you a 6-digit code to reset your password.");
    case Mode::newPassword:
        return QStringLiteral("Enter the code we sent to %1 and your new password.").arg(email_.trimmed());
    }
    return {};
}

QString SignInViewModel::primaryButtonLabel() const {
    if (isSubmitting_)
        return QStringLiteral("Submitting");
    switch (mode_) {
    case Mode::signIn:
        return QStringLiteral("Sign in");
    case Mode::signUp:
        return QStringLiteral("Create account");
    case Mode::verify:
    case Mode::secondFactor:
        return QStringLiteral("Verify");
    case Mode::completeSignUp:
        return QStringLiteral("Continue");
    case Mode::resetPassword:
        return QStringLiteral("Send code");
    case Mode::newPassword:
        return QStringLiteral("Reset password");
    }
    return {};
}

void SignInViewModel::submit() {
    if (isSubmitting_ || browserProvider_)
        return;
    const QString email = email_.trimmed();
    switch (mode_) {
    case Mode::signIn:
        run(signIn(this, email, password_));
        return;
    case Mode::signUp:
        run(signUp(this, email, password_));
        return;
    case Mode::verify:
        run(verify(this, signUpId_, verificationCode_.trimmed()));
        return;
    case Mode::secondFactor:
        run(secondFactor(this, signInId_, secondFactorStrategy_, verificationCode_.trimmed()));
        return;
    case Mode::completeSignUp: {
        SignUp::UpdateParams fields;
        if (needsFirstName())
            fields.firstName = firstName_.trimmed();
        if (needsLastName())
            fields.lastName = lastName_.trimmed();
        if (needsLegalAcceptance())
            fields.legalAccepted = legalAccepted_;
        run(completeSignUp(this, signUpId_, fields));
        return;
    }
    case Mode::resetPassword:
        run(startReset(this, email));
        return;
    case Mode::newPassword:
        run(finishReset(this, verificationCode_.trimmed(), password_));
        return;
    }
}

void SignInViewModel::showSignUp() {
    if (isSubmitting_)
        return;
    setError({});
    setMode(Mode::signUp);
}

void SignInViewModel::showSignIn() {
    if (isSubmitting_)
        return;
    setError({});
    setVerificationCode({});
    setMode(Mode::signIn);
}

void SignInViewModel::showPasswordReset() {
    if (isSubmitting_ || browserProvider_)
        return;
    setError({});
    setPassword({});
    setVerificationCode({});
    resetSignIn_.reset();
    resetCodeAccepted_ = false;
    setMode(Mode::resetPassword);
}

void SignInViewModel::resendCode() {
    if (!canResendCode())
        return;
    setError({});
    isResending_ = true;
    Q_EMIT resendChanged();
    tasks_.spawn(resend(this), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                     isResending_ = false;
                     Q_EMIT resendChanged();
                     setError(FailureMessage::describe(error));
                 }));
}

async::Task<void> SignInViewModel::resend(SignInViewModel* self) {
    if (self->mode_ == Mode::verify)
        co_await self->service_->prepareVerification(self->signUpId_, FactorStrategy::emailCode());
    else
        self->resetSignIn_ = co_await self->service_->resendPasswordResetCode(*self->resetSignIn_);
    self->isResending_ = false;
    self->codeSent();
}

void SignInViewModel::codeSent() {
    tasks_.cancel(resendCountdown_);
    resendSecondsLeft_ = int(resendCooldown.count());
    Q_EMIT resendChanged();
    resendCountdown_ = tasks_.spawn(countDownResend(this));
}

async::Task<void> SignInViewModel::countDownResend(SignInViewModel* self) {
    while (self->resendSecondsLeft_ > 0) {
        co_await async::Clock::current().sleep(std::chrono::seconds(1));
        --self->resendSecondsLeft_;
        Q_EMIT self->resendChanged();
    }
}

void SignInViewModel::useBackupCode(bool backup) {
    if (mode_ != Mode::secondFactor)
        return;
    if (!backup && !phoneCodePrepared_)
        return;
    setVerificationCode({});
    setSecondFactorStrategy(backup ? FactorStrategy::backupCode() : FactorStrategy::phoneCode());
}

void SignInViewModel::signInWithGoogle() {
    startBrowserSignIn(OAuthProvider::Kind::google);
}

void SignInViewModel::signInWithApple() {
    startBrowserSignIn(OAuthProvider::Kind::apple);
}

void SignInViewModel::cancelBrowserSignIn() {
    if (!browserProvider_)
        return;
    tasks_.cancel(browserTask_);
    setBrowserProvider(std::nullopt);
    setSubmitting(false);
    setError({});
}

void SignInViewModel::startBrowserSignIn(OAuthProvider provider) {
    if (isSubmitting_ || browserProvider_)
        return;
    setError({});
    setBrowserProvider(provider);
    browserTask_ = tasks_.spawn(browserSignIn(this, provider),
                                async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                                    setBrowserProvider(std::nullopt);
                                    setSubmitting(false);
                                    if (!isCancellation(error))
                                        setError(FailureMessage::describe(error));
                                }));
}

void SignInViewModel::run(async::Task<void> task) {
    setError({});
    setSubmitting(true);
    tasks_.spawn(std::move(task), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                     setSubmitting(false);
                     setError(FailureMessage::describe(error));
                 }));
}

async::Task<void> SignInViewModel::signIn(SignInViewModel* self, QString email, QString password) {
    const SignIn signIn = co_await self->service_->createSignIn(email, password);
    co_await continueSignIn(self, signIn);
    self->setSubmitting(false);
}

async::Task<void> SignInViewModel::browserSignIn(SignInViewModel* self, OAuthProvider provider) {
    const SignIn started = co_await self->service_->createOAuthSignIn(provider, self->redirect_.redirectUrl);
    const QString page =
        started.firstFactorVerification
            ? started.firstFactorVerification->externalVerificationRedirectUrl.value_or(QString())
            : QString();
    if (page.isEmpty())
        throw ClerkClientError(QStringLiteral("The sign-in has no page to open in the browser."));
    const QUrl pageURL(page);
    const QUrl callback = co_await self->browser_.start(pageURL, self->redirect_.callbackUrlScheme);
    const QString nonce =
        QUrlQuery(callback).queryItemValue(QStringLiteral("rotating_token_nonce"), QUrl::FullyDecoded);
    const SignIn signIn = co_await self->service_->reloadSignIn(started.id, nonce);
    const bool transferable = signIn.firstFactorVerification &&
                              signIn.firstFactorVerification->status == QLatin1String("transferable");
    if (signIn.status != SignIn::Status::complete && transferable) {
        // The external account has no user yet: the sign-up creates it from this verification.
        const SignUp signUp = co_await self->service_->createTransferSignUp();
        self->signUpId_ = signUp.id;
        self->continueSignUp(signUp);
    } else {
        co_await continueSignIn(self, signIn);
    }
    self->setBrowserProvider(std::nullopt);
    self->setSubmitting(false);
}

async::Task<void> SignInViewModel::continueSignIn(SignInViewModel* self, SignIn signIn) {
    if (signIn.status == SignIn::Status::needsSecondFactor) {
        self->signInId_ = signIn.id;
        self->phoneCodePrepared_ = false;
        bool offersPhone = false;
        for (const Factor& factor : signIn.supportedSecondFactors.value_or(QList<Factor>{}))
            offersPhone = offersPhone || factor.strategy == FactorStrategy::phoneCode().rawValue();
        self->setVerificationCode({});
        self->setSecondFactorStrategy(FactorStrategy::backupCode());
        self->setMode(Mode::secondFactor);
        if (offersPhone) {
            co_await self->service_->prepareSecondFactor(signIn.id, FactorStrategy::phoneCode());
            self->phoneCodePrepared_ = true;
            self->setSecondFactorStrategy(FactorStrategy::phoneCode());
        }
    } else if (signIn.status != SignIn::Status::complete) {
        self->setError(incomplete(rawValue(signIn.status)));
    }
}

async::Task<void> SignInViewModel::signUp(SignInViewModel* self, QString email, QString password) {
    const SignUp signUp = co_await self->service_->createSignUp(email, password);
    self->signUpId_ = signUp.id;
    co_await self->service_->prepareVerification(signUp.id, FactorStrategy::emailCode());
    self->setVerificationCode({});
    self->setMode(Mode::verify);
    self->codeSent();
    self->setSubmitting(false);
}

async::Task<void> SignInViewModel::verify(SignInViewModel* self, QString signUpId, QString code) {
    const SignUp signUp =
        co_await self->service_->attemptVerification(signUpId, FactorStrategy::emailCode(), code);
    self->continueSignUp(signUp);
    self->setSubmitting(false);
}

async::Task<void> SignInViewModel::completeSignUp(SignInViewModel* self, QString signUpId,
                                                  SignUp::UpdateParams fields) {
    const SignUp signUp = co_await self->service_->updateSignUp(signUpId, fields);
    self->continueSignUp(signUp);
    self->setSubmitting(false);
}

void SignInViewModel::continueSignUp(const SignUp& signUp) {
    if (signUp.status == SignUp::Status::complete)
        return;
    const QStringList missing = signUp.missingFields.value_or(QList<QString>{});
    const bool completable = signUp.status == SignUp::Status::missingRequirements && !missing.isEmpty() &&
                             std::all_of(missing.begin(), missing.end(), [](const QString& field) {
                                 return completableFields.contains(field);
                             });
    if (!completable) {
        setError(incomplete(rawValue(signUp.status)));
        return;
    }
    // Asked again after a try, the fields still missing keep what was typed.
    if (mode_ == Mode::completeSignUp)
        setError(QStringLiteral("Please fill in every field to continue."));
    setMissingFields(missing);
    setMode(Mode::completeSignUp);
}

async::Task<void> SignInViewModel::startReset(SignInViewModel* self, QString email) {
    self->resetSignIn_ = co_await self->service_->startPasswordReset(email);
    self->resetCodeAccepted_ = false;
    self->setVerificationCode({});
    self->setPassword({});
    self->setMode(Mode::newPassword);
    self->codeSent();
    self->setSubmitting(false);
}

async::Task<void> SignInViewModel::finishReset(SignInViewModel* self, QString code, QString password) {
    // A new password the server refused keeps the accepted code: only the password goes again.
    if (!self->resetCodeAccepted_) {
        self->resetSignIn_ = co_await self->service_->verifyPasswordResetCode(*self->resetSignIn_, code);
        self->resetCodeAccepted_ = self->resetSignIn_->status == SignIn::Status::needsNewPassword;
        if (!self->resetCodeAccepted_) {
            self->setError(incomplete(rawValue(self->resetSignIn_->status)));
            self->setSubmitting(false);
            co_return;
        }
    }
    const SignIn signIn = co_await self->service_->resetPassword(self->resetSignIn_->id, password);
    co_await continueSignIn(self, signIn);
    self->setSubmitting(false);
}

async::Task<void> SignInViewModel::secondFactor(SignInViewModel* self, QString signInId,
                                                FactorStrategy strategy, QString code) {
    const SignIn signIn = co_await self->service_->attemptSecondFactor(signInId, strategy, code);
    if (signIn.status != SignIn::Status::complete)
        self->setError(incomplete(rawValue(signIn.status)));
    self->setSubmitting(false);
}

void SignInViewModel::setMode(Mode mode) {
    if (mode == mode_)
        return;
    mode_ = mode;
    Q_EMIT modeChanged();
    Q_EMIT subtitleChanged();
    Q_EMIT primaryButtonLabelChanged();
    Q_EMIT resendChanged();
}

void SignInViewModel::setSubmitting(bool submitting) {
    if (submitting == isSubmitting_)
        return;
    isSubmitting_ = submitting;
    Q_EMIT isSubmittingChanged();
    Q_EMIT primaryButtonLabelChanged();
    Q_EMIT resendChanged();
}

void SignInViewModel::setMissingFields(const QStringList& fields) {
    if (fields == missingFields_)
        return;
    missingFields_ = fields;
    Q_EMIT missingFieldsChanged();
}

void SignInViewModel::setError(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}

void SignInViewModel::setSecondFactorStrategy(const FactorStrategy& strategy) {
    if (strategy == secondFactorStrategy_)
        return;
    secondFactorStrategy_ = strategy;
    Q_EMIT subtitleChanged();
}

void SignInViewModel::setBrowserProvider(std::optional<OAuthProvider> provider) {
    if (provider == browserProvider_)
        return;
    browserProvider_ = std::move(provider);
    Q_EMIT browserSignInChanged();
}
