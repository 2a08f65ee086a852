#include "SignInViewModel.h"

#include "AuthKit.h"
#include "BrowserAuthenticationSession.h"
#include "Clerk.h"
#include "ClerkClientError.h"
#include "ClerkSignInService.h"

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

const QString phoneCode = QStringLiteral("phone_code");
const QString backupCode = QStringLiteral("backup_code");
const QString emailCode = QStringLiteral("email_code");
const QString googleStrategy = QStringLiteral("oauth_google");
const QString appleStrategy = QStringLiteral("oauth_apple");

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
    }
    return {};
}

void SignInViewModel::submit() {
    if (isSubmitting_ || !browserStrategy_.isEmpty())
        return;
    const QString email = email_.trimmed();
    switch (mode_) {
    case Mode::signIn:
    case Mode::signUp:
        if (email.isEmpty()) {
            setError(QStringLiteral("Email address is required."));
            return;
        }
        run(mode_ == Mode::signIn ? signIn(this, email, password_) : signUp(this, email, password_));
        return;
    case Mode::verify:
        run(verify(this, signUpId_, verificationCode_.trimmed()));
        return;
    case Mode::secondFactor:
        run(secondFactor(this, signInId_, secondFactorStrategy_, verificationCode_.trimmed()));
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

void SignInViewModel::useBackupCode(bool backup) {
    if (mode_ != Mode::secondFactor)
        return;
    if (!backup && !phoneCodePrepared_)
        return;
    setVerificationCode({});
    setSecondFactorStrategy(backup ? backupCode : phoneCode);
}

void SignInViewModel::signInWithGoogle() {
    startBrowserSignIn(googleStrategy);
}

void SignInViewModel::signInWithApple() {
    startBrowserSignIn(appleStrategy);
}

void SignInViewModel::cancelBrowserSignIn() {
    if (browserStrategy_.isEmpty())
        return;
    tasks_.cancel(browserTask_);
    setBrowserStrategy({});
    setSubmitting(false);
    setError({});
}

void SignInViewModel::startBrowserSignIn(const QString& strategy) {
    if (isSubmitting_ || !browserStrategy_.isEmpty())
        return;
    setError({});
    setBrowserStrategy(strategy);
    browserTask_ = tasks_.spawn(browserSignIn(this, strategy),
                                async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                                    setBrowserStrategy({});
                                    setSubmitting(false);
                                    if (!isCancellation(error))
                                        setError(AuthKit::errorDescription(error));
                                }));
}

void SignInViewModel::run(async::Task<void> task) {
    setError({});
    setSubmitting(true);
    tasks_.spawn(std::move(task), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                     setSubmitting(false);
                     setError(AuthKit::errorDescription(error));
                 }));
}

async::Task<void> SignInViewModel::signIn(SignInViewModel* self, QString email, QString password) {
    const SignIn signIn = co_await self->service_->createSignIn(email, password);
    co_await continueSignIn(self, signIn);
    self->setSubmitting(false);
}

async::Task<void> SignInViewModel::browserSignIn(SignInViewModel* self, QString strategy) {
    const SignIn started = co_await self->service_->createOAuthSignIn(strategy, self->redirect_.redirectUrl);
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
        if (signUp.status != SignUp::Status::complete)
            self->setError(incomplete(rawValue(signUp.status)));
    } else {
        co_await continueSignIn(self, signIn);
    }
    self->setBrowserStrategy({});
    self->setSubmitting(false);
}

async::Task<void> SignInViewModel::continueSignIn(SignInViewModel* self, SignIn signIn) {
    if (signIn.status == SignIn::Status::needsSecondFactor) {
        self->signInId_ = signIn.id;
        self->phoneCodePrepared_ = false;
        bool offersPhone = false;
        for (const Factor& factor : signIn.supportedSecondFactors.value_or(QList<Factor>{}))
            offersPhone = offersPhone || factor.strategy == phoneCode;
        self->setVerificationCode({});
        self->setSecondFactorStrategy(backupCode);
        self->setMode(Mode::secondFactor);
        if (offersPhone) {
            co_await self->service_->prepareSecondFactor(signIn.id, phoneCode);
            self->phoneCodePrepared_ = true;
            self->setSecondFactorStrategy(phoneCode);
        }
    } else if (signIn.status != SignIn::Status::complete) {
        self->setError(incomplete(rawValue(signIn.status)));
    }
}

async::Task<void> SignInViewModel::signUp(SignInViewModel* self, QString email, QString password) {
    const SignUp signUp = co_await self->service_->createSignUp(email, password);
    self->signUpId_ = signUp.id;
    co_await self->service_->prepareVerification(signUp.id, emailCode);
    self->setVerificationCode({});
    self->setMode(Mode::verify);
    self->setSubmitting(false);
}

async::Task<void> SignInViewModel::verify(SignInViewModel* self, QString signUpId, QString code) {
    const SignUp signUp = co_await self->service_->attemptVerification(signUpId, emailCode, code);
    if (signUp.status != SignUp::Status::complete)
        self->setError(incomplete(rawValue(signUp.status)));
    self->setSubmitting(false);
}

async::Task<void> SignInViewModel::secondFactor(SignInViewModel* self, QString signInId, QString strategy,
                                                QString code) {
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
}

void SignInViewModel::setSubmitting(bool submitting) {
    if (submitting == isSubmitting_)
        return;
    isSubmitting_ = submitting;
    Q_EMIT isSubmittingChanged();
    Q_EMIT primaryButtonLabelChanged();
}

void SignInViewModel::setError(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}

void SignInViewModel::setSecondFactorStrategy(const QString& strategy) {
    if (strategy == secondFactorStrategy_)
        return;
    secondFactorStrategy_ = strategy;
    Q_EMIT subtitleChanged();
}

void SignInViewModel::setBrowserStrategy(const QString& strategy) {
    if (strategy == browserStrategy_)
        return;
    browserStrategy_ = strategy;
    Q_EMIT browserSignInChanged();
}
