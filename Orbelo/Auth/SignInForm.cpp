#include "Auth/SignInForm.h"

void SignInForm::setEmail(const QString& email) {
    if (email == email_)
        return;
    email_ = email;
    Q_EMIT emailChanged();
}

void SignInForm::setPassword(const QString& password) {
    if (password == password_)
        return;
    password_ = password;
    Q_EMIT passwordChanged();
}

void SignInForm::setVerificationCode(const QString& code) {
    if (code == verificationCode_)
        return;
    verificationCode_ = code;
    Q_EMIT verificationCodeChanged();
}

void SignInForm::setSubmitting(bool submitting) {
    if (submitting == isSubmitting_)
        return;
    isSubmitting_ = submitting;
    Q_EMIT isSubmittingChanged();
}

void SignInForm::setError(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}
