#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "TaskScope.h"

#include <QtQml/qqmlregistration.h>

#include <chrono>

class SignInForm;

// "Resend code" on the steps that wait for an emailed code: offered once the cool-down after the
// last code has passed, counted down second by second. The screen sends the code on `requested`.
class CodeResend : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(bool canResendCode READ canResendCode NOTIFY changed)
    Q_PROPERTY(QString resendCodeLabel READ resendCodeLabel NOTIFY changed)
public:
    // How long after sending a code the screen offers to send it again; the server refuses sooner.
    static constexpr std::chrono::seconds cooldown{30};

    // `form` must outlive this.
    explicit CodeResend(const SignInForm& form, QObject* parent = nullptr);

    bool canResendCode() const;
    QString resendCodeLabel() const;
    // Whether the step shown waits for a code.
    void setOffered(bool offered);
    // A code went out: the cool-down starts again.
    void codeSent();
    // The code could not be sent again; it may be asked for once more at once.
    void failed();

    Q_INVOKABLE void resendCode();

Q_SIGNALS:
    void changed();
    void requested();

private:
    static async::Task<void> countDown(CodeResend* self);

    const SignInForm& form_;
    bool offered_ = false;
    bool isResending_ = false;
    // Whole seconds until the code may be sent again; 0 when it may.
    int secondsLeft_ = 0;
    async::TaskScope::TaskId countdown_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
