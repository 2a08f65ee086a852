#include "Auth/SecondFactorStep.h"

#include "Auth/SignInForm.h"

SecondFactorStep::SecondFactorStep(SignInForm& form, QObject* parent) : QObject(parent), form_(form) {}

void SecondFactorStep::open(const QString& signInId) {
    signInId_ = signInId;
    phoneCodePrepared_ = false;
    form_.setVerificationCode({});
    setStrategy(FactorStrategy::backupCode());
}

void SecondFactorStep::phoneCodeSent() {
    phoneCodePrepared_ = true;
    setStrategy(FactorStrategy::phoneCode());
}

void SecondFactorStep::useBackupCode(bool backup) {
    if (!active_)
        return;
    if (!backup && !phoneCodePrepared_)
        return;
    form_.setVerificationCode({});
    setStrategy(backup ? FactorStrategy::backupCode() : FactorStrategy::phoneCode());
}

void SecondFactorStep::setStrategy(const FactorStrategy& strategy) {
    if (strategy == strategy_)
        return;
    strategy_ = strategy;
    Q_EMIT changed();
}
