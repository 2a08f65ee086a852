#include "Auth/CodeResend.h"

#include "Auth/SignInForm.h"
#include "Clock.h"

CodeResend::CodeResend(const SignInForm& form, QObject* parent) : QObject(parent), form_(form) {
    connect(&form, &SignInForm::isSubmittingChanged, this, &CodeResend::changed);
}

bool CodeResend::canResendCode() const {
    return offered_ && secondsLeft_ == 0 && !isResending_ && !form_.isSubmitting();
}

QString CodeResend::resendCodeLabel() const {
    if (secondsLeft_ > 0)
        return QStringLiteral("Resend code in %1 s").arg(secondsLeft_);
    return isResending_ ? QStringLiteral("Sending…") : QStringLiteral("Resend code");
}

void CodeResend::setOffered(bool offered) {
    if (offered == offered_)
        return;
    offered_ = offered;
    Q_EMIT changed();
}

void CodeResend::resendCode() {
    if (!canResendCode())
        return;
    isResending_ = true;
    Q_EMIT changed();
    Q_EMIT requested();
}

void CodeResend::codeSent() {
    isResending_ = false;
    tasks_.cancel(countdown_);
    secondsLeft_ = int(cooldown.count());
    Q_EMIT changed();
    countdown_ = tasks_.spawn(countDown(this));
}

void CodeResend::failed() {
    isResending_ = false;
    Q_EMIT changed();
}

async::Task<void> CodeResend::countDown(CodeResend* self) {
    while (self->secondsLeft_ > 0) {
        co_await async::Clock::current().sleep(std::chrono::seconds(1));
        --self->secondsLeft_;
        Q_EMIT self->changed();
    }
}
