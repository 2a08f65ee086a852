#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "ClerkOptions.h"
#include "SignInService.h"
#include "TaskScope.h"
#include "WebAuthenticationSession.h"

#include <QtQml/qqmlregistration.h>

#include <memory>

// The sign-in screen: email and password sign-in, sign-up with an emailed six-digit code, the
// second factor, and Google and Apple sign-in in the browser. The flow ends when the auth client has a
// current session; the root then leaves this screen on its own.
class SignInViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Mode mode READ mode NOTIFY modeChanged)
    // The mode's name ("signIn", "signUp", "verify", "secondFactor") for the view.
    Q_PROPERTY(QString modeName READ modeName NOTIFY modeChanged)
    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY emailChanged)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY passwordChanged)
    Q_PROPERTY(QString verificationCode READ verificationCode WRITE setVerificationCode NOTIFY
                   verificationCodeChanged)
    Q_PROPERTY(bool isSubmitting READ isSubmitting NOTIFY isSubmittingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(QString title READ title NOTIFY modeChanged)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY subtitleChanged)
    Q_PROPERTY(QString primaryButtonLabel READ primaryButtonLabel NOTIFY primaryButtonLabelChanged)
    Q_PROPERTY(bool usesBackupCode READ usesBackupCode NOTIFY subtitleChanged)
    Q_PROPERTY(bool canUsePhoneCode READ canUsePhoneCode NOTIFY subtitleChanged)
    Q_PROPERTY(bool isGoogleSigningIn READ isGoogleSigningIn NOTIFY browserSignInChanged)
    Q_PROPERTY(bool isAppleSigningIn READ isAppleSigningIn NOTIFY browserSignInChanged)
public:
    enum class Mode { signIn, signUp, verify, secondFactor };
    Q_ENUM(Mode)

    // The screen as the app shows it, over the shared auth client and the desktop's browser.
    explicit SignInViewModel(QObject* parent = nullptr);
    // `browser` must outlive the model; `redirect` names the OAuth callback.
    SignInViewModel(std::shared_ptr<SignInService> service, WebAuthenticationSession& browser,
                    ClerkOptions::RedirectConfig redirect, QObject* parent = nullptr);
    ~SignInViewModel() override;

    Mode mode() const { return mode_; }
    QString modeName() const;
    QString email() const { return email_; }
    void setEmail(const QString& email);
    QString password() const { return password_; }
    void setPassword(const QString& password);
    QString verificationCode() const { return verificationCode_; }
    void setVerificationCode(const QString& code);
    bool isSubmitting() const { return isSubmitting_; }
    QString errorMessage() const { return errorMessage_; }
    QString title() const;
    QString subtitle() const;
    QString primaryButtonLabel() const;
    bool usesBackupCode() const { return secondFactorStrategy_ == QLatin1String("backup_code"); }
    bool canUsePhoneCode() const { return phoneCodePrepared_; }
    bool isGoogleSigningIn() const { return browserStrategy_ == QLatin1String("oauth_google"); }
    bool isAppleSigningIn() const { return browserStrategy_ == QLatin1String("oauth_apple"); }

    // The primary button: sign in, create the account, or check the code, by mode.
    Q_INVOKABLE void submit();
    Q_INVOKABLE void showSignUp();
    Q_INVOKABLE void showSignIn();
    // On the second-factor step: switch between the texted code and a backup code.
    Q_INVOKABLE void useBackupCode(bool backup);
    // Sign-in in the browser; the screen waits for the browser to come back to the app.
    Q_INVOKABLE void signInWithGoogle();
    Q_INVOKABLE void signInWithApple();
    // Stops waiting for the browser: back to the form, without a message.
    Q_INVOKABLE void cancelBrowserSignIn();

Q_SIGNALS:
    void modeChanged();
    void emailChanged();
    void passwordChanged();
    void verificationCodeChanged();
    void isSubmittingChanged();
    void errorMessageChanged();
    void subtitleChanged();
    void primaryButtonLabelChanged();
    void browserSignInChanged();

private:
    static async::Task<void> signIn(SignInViewModel* self, QString email, QString password);
    static async::Task<void> signUp(SignInViewModel* self, QString email, QString password);
    static async::Task<void> verify(SignInViewModel* self, QString signUpId, QString code);
    static async::Task<void> secondFactor(SignInViewModel* self, QString signInId, QString strategy,
                                          QString code);
    static async::Task<void> browserSignIn(SignInViewModel* self, QString strategy);
    // Moves on from a sign-in answer: done, the second-factor step, or its status as the message.
    static async::Task<void> continueSignIn(SignInViewModel* self, SignIn signIn);

    void run(async::Task<void> task);
    void startBrowserSignIn(const QString& strategy);
    void setBrowserStrategy(const QString& strategy);
    void setMode(Mode mode);
    void setSubmitting(bool submitting);
    void setError(const QString& message);
    void setSecondFactorStrategy(const QString& strategy);

    std::shared_ptr<SignInService> service_;
    WebAuthenticationSession& browser_;
    ClerkOptions::RedirectConfig redirect_;
    Mode mode_ = Mode::signIn;
    QString email_;
    QString password_;
    QString verificationCode_;
    bool isSubmitting_ = false;
    QString errorMessage_;
    QString signUpId_;
    QString signInId_;
    QString secondFactorStrategy_;
    bool phoneCodePrepared_ = false;
    // The "oauth_" strategy of the browser sign-in under way, empty when there is none.
    QString browserStrategy_;
    async::TaskScope::TaskId browserTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
