#pragma once

#include "FactorStrategy.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class SignInForm;

// The second factor of a sign-in: a backup code, or the code texted to the user's phone when the
// account offers one (sent as the step opens).
class SecondFactorStep : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(bool usesBackupCode READ usesBackupCode NOTIFY changed)
    Q_PROPERTY(bool canUsePhoneCode READ canUsePhoneCode NOTIFY changed)
public:
    // `form` must outlive this.
    explicit SecondFactorStep(SignInForm& form, QObject* parent = nullptr);

    bool usesBackupCode() const { return strategy_ == FactorStrategy::backupCode(); }
    bool canUsePhoneCode() const { return phoneCodePrepared_; }
    QString signInId() const { return signInId_; }
    FactorStrategy strategy() const { return strategy_; }

    // The step opens for `signInId`, on a backup code until a texted one is on its way.
    void open(const QString& signInId);
    // The texted code was sent: the step asks for it.
    void phoneCodeSent();
    // Whether the step is the one shown.
    void setActive(bool active) { active_ = active; }

    // Switches between the texted code and a backup code.
    Q_INVOKABLE void useBackupCode(bool backup);

Q_SIGNALS:
    void changed();

private:
    void setStrategy(const FactorStrategy& strategy);

    SignInForm& form_;
    bool active_ = false;
    QString signInId_;
    FactorStrategy strategy_ = FactorStrategy::backupCode();
    bool phoneCodePrepared_ = false;
};
