#include "SignInViewModel.h"

#include "AuthKit.h"
#include "Clerk.h"
#include "ClerkSignInService.h"

#include <QMetaEnum>

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

} // namespace

SignInViewModel::SignInViewModel(QObject* parent)
    : SignInViewModel(std::make_shared<ClerkSignInService>(Clerk::shared()), parent) {}

SignInViewModel::SignInViewModel(std::shared_ptr<SignInService> service, QObject* parent)
    : QObject(parent), service_(std::move(service)) {}

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
    if (isSubmitting_)
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
    self->setSubmitting(false);
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
