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
    : QObject(parent), service_(std::move(service)), browser_(browser), redirect_(std::move(redirect)) {
    for (QObject* step :
         std::initializer_list<QObject*>{&form_, &resend_, &secondFactor_, &completion_, &browserSignIn_})
        step->setParent(this);
    connect(&form_, &SignInForm::isSubmittingChanged, this, &SignInViewModel::primaryButtonLabelChanged);
    connect(&secondFactor_, &SecondFactorStep::changed, this, &SignInViewModel::subtitleChanged);
    connect(&resend_, &CodeResend::requested, this, &SignInViewModel::resendCode);
    connect(&browserSignIn_, &BrowserSignIn::requested, this, &SignInViewModel::startBrowserSignIn);
    connect(&browserSignIn_, &BrowserSignIn::cancelRequested, this, &SignInViewModel::cancelBrowserSignIn);
}

SignInViewModel::~SignInViewModel() = default;

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
        return QStringLiteral("We sent a 6-digit code to %1.").arg(form_.email().trimmed());
    case Mode::secondFactor:
        return secondFactor_.usesBackupCode() ? QStringLiteral("Enter a backup code")
                                              : QStringLiteral("Enter the code we texted you");
    case Mode::completeSignUp:
        return QStringLiteral("Your email is verified. A few more details and you're in.");
    case Mode::resetPassword:
        return QStringLiteral("We'll email you a 6-digit code to reset your password.");
    case Mode::newPassword:
        return QStringLiteral("Enter the code we sent to %1 and your new password.")
            .arg(form_.email().trimmed());
    }
    return {};
}

QString SignInViewModel::primaryButtonLabel() const {
    if (form_.isSubmitting())
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
    if (form_.isSubmitting() || browserSignIn_.isWaiting())
        return;
    const QString email = form_.email().trimmed();
    const QString code = form_.verificationCode().trimmed();
    switch (mode_) {
    case Mode::signIn:
        run(signIn(this, email, form_.password()));
        return;
    case Mode::signUp:
        run(signUp(this, email, form_.password()));
        return;
    case Mode::verify:
        run(verify(this, signUpId_, code));
        return;
    case Mode::secondFactor:
        run(secondFactor(this, secondFactor_.signInId(), secondFactor_.strategy(), code));
        return;
    case Mode::completeSignUp:
        run(completeSignUp(this, signUpId_, completion_.fields()));
        return;
    case Mode::resetPassword:
        run(startReset(this, email));
        return;
    case Mode::newPassword:
        run(finishReset(this, code, form_.password()));
        return;
    }
}

void SignInViewModel::showSignUp() {
    if (form_.isSubmitting())
        return;
    form_.setError({});
    setMode(Mode::signUp);
}

void SignInViewModel::showSignIn() {
    if (form_.isSubmitting())
        return;
    form_.setError({});
    form_.setVerificationCode({});
    setMode(Mode::signIn);
}

void SignInViewModel::showPasswordReset() {
    if (form_.isSubmitting() || browserSignIn_.isWaiting())
        return;
    form_.setError({});
    form_.setPassword({});
    form_.setVerificationCode({});
    resetSignIn_.reset();
    resetCodeAccepted_ = false;
    setMode(Mode::resetPassword);
}

void SignInViewModel::resendCode() {
    form_.setError({});
    tasks_.spawn(sendCodeAgain(this), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                     resend_.failed();
                     form_.setError(FailureMessage::describe(error));
                 }));
}

async::Task<void> SignInViewModel::sendCodeAgain(SignInViewModel* self) {
    if (self->mode_ == Mode::verify)
        co_await self->service_->prepareVerification(self->signUpId_, FactorStrategy::emailCode());
    else
        self->resetSignIn_ = co_await self->service_->resendPasswordResetCode(*self->resetSignIn_);
    self->resend_.codeSent();
}

void SignInViewModel::cancelBrowserSignIn() {
    if (!browserSignIn_.isWaiting())
        return;
    tasks_.cancel(browserTask_);
    browserSignIn_.setProvider(std::nullopt);
    form_.setSubmitting(false);
    form_.setError({});
}

void SignInViewModel::startBrowserSignIn(OAuthProvider provider) {
    if (form_.isSubmitting() || browserSignIn_.isWaiting())
        return;
    form_.setError({});
    browserSignIn_.setProvider(provider);
    browserTask_ = tasks_.spawn(browserSignIn(this, provider),
                                async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                                    browserSignIn_.setProvider(std::nullopt);
                                    form_.setSubmitting(false);
                                    if (!isCancellation(error))
                                        form_.setError(FailureMessage::describe(error));
                                }));
}

void SignInViewModel::run(async::Task<void> task) {
    form_.setError({});
    form_.setSubmitting(true);
    tasks_.spawn(std::move(task), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                     form_.setSubmitting(false);
                     form_.setError(FailureMessage::describe(error));
                 }));
}

async::Task<void> SignInViewModel::signIn(SignInViewModel* self, QString email, QString password) {
    const SignIn signIn = co_await self->service_->createSignIn(email, password);
    co_await continueSignIn(self, signIn);
    self->form_.setSubmitting(false);
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
    self->browserSignIn_.setProvider(std::nullopt);
    self->form_.setSubmitting(false);
}

async::Task<void> SignInViewModel::continueSignIn(SignInViewModel* self, SignIn signIn) {
    if (signIn.status == SignIn::Status::needsSecondFactor) {
        bool offersPhone = false;
        for (const Factor& factor : signIn.supportedSecondFactors.value_or(QList<Factor>{}))
            offersPhone = offersPhone || factor.strategy == FactorStrategy::phoneCode().rawValue();
        self->secondFactor_.open(signIn.id);
        self->setMode(Mode::secondFactor);
        if (offersPhone) {
            co_await self->service_->prepareSecondFactor(signIn.id, FactorStrategy::phoneCode());
            self->secondFactor_.phoneCodeSent();
        }
    } else if (signIn.status != SignIn::Status::complete) {
        self->form_.setError(incomplete(rawValue(signIn.status)));
    }
}

async::Task<void> SignInViewModel::signUp(SignInViewModel* self, QString email, QString password) {
    const SignUp signUp = co_await self->service_->createSignUp(email, password);
    self->signUpId_ = signUp.id;
    co_await self->service_->prepareVerification(signUp.id, FactorStrategy::emailCode());
    self->form_.setVerificationCode({});
    self->setMode(Mode::verify);
    self->resend_.codeSent();
    self->form_.setSubmitting(false);
}

async::Task<void> SignInViewModel::verify(SignInViewModel* self, QString signUpId, QString code) {
    const SignUp signUp =
        co_await self->service_->attemptVerification(signUpId, FactorStrategy::emailCode(), code);
    self->continueSignUp(signUp);
    self->form_.setSubmitting(false);
}

async::Task<void> SignInViewModel::completeSignUp(SignInViewModel* self, QString signUpId,
                                                  SignUp::UpdateParams fields) {
    const SignUp signUp = co_await self->service_->updateSignUp(signUpId, fields);
    self->continueSignUp(signUp);
    self->form_.setSubmitting(false);
}

void SignInViewModel::continueSignUp(const SignUp& signUp) {
    if (signUp.status == SignUp::Status::complete)
        return;
    const QStringList missing = signUp.missingFields.value_or(QList<QString>{});
    if (signUp.status != SignUp::Status::missingRequirements || !SignUpCompletionStep::canComplete(missing)) {
        form_.setError(incomplete(rawValue(signUp.status)));
        return;
    }
    // Asked again after a try, the fields still missing keep what was typed.
    if (mode_ == Mode::completeSignUp)
        form_.setError(QStringLiteral("Please fill in every field to continue."));
    completion_.setMissingFields(missing);
    setMode(Mode::completeSignUp);
}

async::Task<void> SignInViewModel::startReset(SignInViewModel* self, QString email) {
    self->resetSignIn_ = co_await self->service_->startPasswordReset(email);
    self->resetCodeAccepted_ = false;
    self->form_.setVerificationCode({});
    self->form_.setPassword({});
    self->setMode(Mode::newPassword);
    self->resend_.codeSent();
    self->form_.setSubmitting(false);
}

async::Task<void> SignInViewModel::finishReset(SignInViewModel* self, QString code, QString password) {
    // A new password the server refused keeps the accepted code: only the password goes again.
    if (!self->resetCodeAccepted_) {
        self->resetSignIn_ = co_await self->service_->verifyPasswordResetCode(*self->resetSignIn_, code);
        self->resetCodeAccepted_ = self->resetSignIn_->status == SignIn::Status::needsNewPassword;
        if (!self->resetCodeAccepted_) {
            self->form_.setError(incomplete(rawValue(self->resetSignIn_->status)));
            self->form_.setSubmitting(false);
            co_return;
        }
    }
    const SignIn signIn = co_await self->service_->resetPassword(self->resetSignIn_->id, password);
    co_await continueSignIn(self, signIn);
    self->form_.setSubmitting(false);
}

async::Task<void> SignInViewModel::secondFactor(SignInViewModel* self, QString signInId,
                                                FactorStrategy strategy, QString code) {
    const SignIn signIn = co_await self->service_->attemptSecondFactor(signInId, strategy, code);
    if (signIn.status != SignIn::Status::complete)
        self->form_.setError(incomplete(rawValue(signIn.status)));
    self->form_.setSubmitting(false);
}

void SignInViewModel::setMode(Mode mode) {
    if (mode == mode_)
        return;
    mode_ = mode;
    secondFactor_.setActive(mode == Mode::secondFactor);
    resend_.setOffered(mode == Mode::verify || mode == Mode::newPassword);
    Q_EMIT modeChanged();
    Q_EMIT subtitleChanged();
    Q_EMIT primaryButtonLabelChanged();
}
