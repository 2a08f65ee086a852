#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Auth/BrowserSignIn.h"
#include "Auth/CodeResend.h"
#include "Auth/SecondFactorStep.h"
#include "Auth/SignInForm.h"
#include "Auth/SignInService.h"
#include "Auth/SignUpCompletionStep.h"
#include "ClerkOptions.h"
#include "TaskScope.h"
#include "WebAuthenticationSession.h"

#include <QtQml/qqmlregistration.h>

#include <memory>

// The sign-in screen's flow: email and password sign-in, sign-up with an emailed six-digit code
// and the fields the instance still requires, the second factor, a password reset by emailed code,
// and Google and Apple sign-in in the browser. It moves between the steps; what the user types is
// in `form`, and each step with controls of its own has its model. The flow ends when the auth
// client has a current session; the root then leaves this screen on its own.
class SignInViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Mode mode READ mode NOTIFY modeChanged)
    // The mode's name ("signIn", "signUp", "verify", "secondFactor", "completeSignUp",
    // "resetPassword", "newPassword") for the view.
    Q_PROPERTY(QString modeName READ modeName NOTIFY modeChanged)
    Q_PROPERTY(QString title READ title NOTIFY modeChanged)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY subtitleChanged)
    Q_PROPERTY(QString primaryButtonLabel READ primaryButtonLabel NOTIFY primaryButtonLabelChanged)
    Q_PROPERTY(SignInForm* form READ form CONSTANT)
    Q_PROPERTY(CodeResend* resend READ resend CONSTANT)
    Q_PROPERTY(SecondFactorStep* secondFactor READ secondFactor CONSTANT)
    Q_PROPERTY(SignUpCompletionStep* completion READ completion CONSTANT)
    Q_PROPERTY(BrowserSignIn* browser READ browser CONSTANT)
public:
    // Past the sign-in, sign-up, code and second-factor steps: the fields a sign-up still lacks,
    // and the two steps of a password reset (the address, then the code with the new password).
    enum class Mode { signIn, signUp, verify, secondFactor, completeSignUp, resetPassword, newPassword };
    Q_ENUM(Mode)

    // The screen as the app shows it, over the shared auth client and the desktop's browser.
    explicit SignInViewModel(QObject* parent = nullptr);
    // `browser` must outlive the model; `redirect` names the OAuth callback.
    SignInViewModel(std::shared_ptr<SignInService> service, WebAuthenticationSession& browser,
                    ClerkOptions::RedirectConfig redirect, QObject* parent = nullptr);
    ~SignInViewModel() override;

    Mode mode() const { return mode_; }
    QString modeName() const;
    QString title() const;
    QString subtitle() const;
    QString primaryButtonLabel() const;
    SignInForm* form() { return &form_; }
    CodeResend* resend() { return &resend_; }
    SecondFactorStep* secondFactor() { return &secondFactor_; }
    SignUpCompletionStep* completion() { return &completion_; }
    BrowserSignIn* browser() { return &browserSignIn_; }

    // The primary button: sign in, create the account, or check the code, by mode.
    Q_INVOKABLE void submit();
    Q_INVOKABLE void showSignUp();
    Q_INVOKABLE void showSignIn();
    // "Forgot password?": the reset starts from the address typed so far.
    Q_INVOKABLE void showPasswordReset();

Q_SIGNALS:
    void modeChanged();
    void subtitleChanged();
    void primaryButtonLabelChanged();

private:
    static async::Task<void> signIn(SignInViewModel* self, QString email, QString password);
    static async::Task<void> signUp(SignInViewModel* self, QString email, QString password);
    static async::Task<void> verify(SignInViewModel* self, QString signUpId, QString code);
    static async::Task<void> completeSignUp(SignInViewModel* self, QString signUpId,
                                            SignUp::UpdateParams fields);
    static async::Task<void> secondFactor(SignInViewModel* self, QString signInId, FactorStrategy strategy,
                                          QString code);
    static async::Task<void> startReset(SignInViewModel* self, QString email);
    static async::Task<void> finishReset(SignInViewModel* self, QString code, QString password);
    static async::Task<void> sendCodeAgain(SignInViewModel* self);
    static async::Task<void> browserSignIn(SignInViewModel* self, OAuthProvider provider);
    // Moves on from a sign-up answer: done, the fields still missing, or its status as the message.
    void continueSignUp(const SignUp& signUp);
    // Moves on from a sign-in answer: done, the second-factor step, or its status as the message.
    static async::Task<void> continueSignIn(SignInViewModel* self, SignIn signIn);

    void run(async::Task<void> task);
    void resendCode();
    void startBrowserSignIn(OAuthProvider provider);
    void cancelBrowserSignIn();
    void setMode(Mode mode);

    std::shared_ptr<SignInService> service_;
    WebAuthenticationSession& browser_;
    ClerkOptions::RedirectConfig redirect_;
    Mode mode_ = Mode::signIn;
    SignInForm form_;
    CodeResend resend_{form_};
    SecondFactorStep secondFactor_{form_};
    SignUpCompletionStep completion_;
    BrowserSignIn browserSignIn_;
    QString signUpId_;
    // The password reset's sign-in, and whether its code has been accepted.
    std::optional<SignIn> resetSignIn_;
    bool resetCodeAccepted_ = false;
    async::TaskScope::TaskId browserTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
