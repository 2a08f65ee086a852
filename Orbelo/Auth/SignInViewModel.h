#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Auth/SignInService.h"
#include "ClerkOptions.h"
#include "TaskScope.h"
#include "WebAuthenticationSession.h"

#include <QtQml/qqmlregistration.h>

#include <memory>

// The sign-in screen: email and password sign-in, sign-up with an emailed six-digit code (sent
// again on request, once the cool-down has passed) and the fields the instance still requires, the
// second factor, a password reset by emailed code, and Google and Apple sign-in in the browser. The
// flow ends when the auth client has a current session; the root then leaves this screen on its own.
class SignInViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Mode mode READ mode NOTIFY modeChanged)
    // The mode's name ("signIn", "signUp", "verify", "secondFactor", "completeSignUp",
    // "resetPassword", "newPassword") for the view.
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
    Q_PROPERTY(QString firstName READ firstName WRITE setFirstName NOTIFY firstNameChanged)
    Q_PROPERTY(QString lastName READ lastName WRITE setLastName NOTIFY lastNameChanged)
    Q_PROPERTY(bool legalAccepted READ legalAccepted WRITE setLegalAccepted NOTIFY legalAcceptedChanged)
    Q_PROPERTY(bool needsFirstName READ needsFirstName NOTIFY missingFieldsChanged)
    Q_PROPERTY(bool needsLastName READ needsLastName NOTIFY missingFieldsChanged)
    Q_PROPERTY(bool needsLegalAcceptance READ needsLegalAcceptance NOTIFY missingFieldsChanged)
    Q_PROPERTY(bool canResendCode READ canResendCode NOTIFY resendChanged)
    Q_PROPERTY(QString resendCodeLabel READ resendCodeLabel NOTIFY resendChanged)
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

    // How long after sending a code the screen offers to send it again; the server refuses sooner.
    static constexpr std::chrono::seconds resendCooldown{30};
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
    bool usesBackupCode() const { return secondFactorStrategy_ == FactorStrategy::backupCode(); }
    bool canUsePhoneCode() const { return phoneCodePrepared_; }
    bool isGoogleSigningIn() const { return browserProvider_ == OAuthProvider::Kind::google; }
    bool isAppleSigningIn() const { return browserProvider_ == OAuthProvider::Kind::apple; }
    QString firstName() const { return firstName_; }
    void setFirstName(const QString& name);
    QString lastName() const { return lastName_; }
    void setLastName(const QString& name);
    bool legalAccepted() const { return legalAccepted_; }
    void setLegalAccepted(bool accepted);
    bool needsFirstName() const { return missingFields_.contains(QLatin1String("first_name")); }
    bool needsLastName() const { return missingFields_.contains(QLatin1String("last_name")); }
    bool needsLegalAcceptance() const { return missingFields_.contains(QLatin1String("legal_accepted")); }
    bool canResendCode() const;
    QString resendCodeLabel() const;

    // The primary button: sign in, create the account, or check the code, by mode.
    Q_INVOKABLE void submit();
    Q_INVOKABLE void showSignUp();
    Q_INVOKABLE void showSignIn();
    // "Forgot password?": the reset starts from the address typed so far.
    Q_INVOKABLE void showPasswordReset();
    // On the code steps: sends the code again.
    Q_INVOKABLE void resendCode();
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
    void firstNameChanged();
    void lastNameChanged();
    void legalAcceptedChanged();
    void missingFieldsChanged();
    void resendChanged();

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
    static async::Task<void> resend(SignInViewModel* self);
    static async::Task<void> countDownResend(SignInViewModel* self);
    static async::Task<void> browserSignIn(SignInViewModel* self, OAuthProvider provider);
    // Moves on from a sign-up answer: done, the fields still missing, or its status as the message.
    void continueSignUp(const SignUp& signUp);
    // Moves on from a sign-in answer: done, the second-factor step, or its status as the message.
    static async::Task<void> continueSignIn(SignInViewModel* self, SignIn signIn);

    void run(async::Task<void> task);
    void startBrowserSignIn(OAuthProvider provider);
    void setBrowserProvider(std::optional<OAuthProvider> provider);
    void codeSent();
    void setMode(Mode mode);
    void setSubmitting(bool submitting);
    void setError(const QString& message);
    void setSecondFactorStrategy(const FactorStrategy& strategy);
    void setMissingFields(const QStringList& fields);

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
    FactorStrategy secondFactorStrategy_ = FactorStrategy::backupCode();
    bool phoneCodePrepared_ = false;
    QString firstName_;
    QString lastName_;
    bool legalAccepted_ = false;
    QStringList missingFields_;
    // The password reset's sign-in, and whether its code has been accepted.
    std::optional<SignIn> resetSignIn_;
    bool resetCodeAccepted_ = false;
    // Whole seconds until the code may be sent again; 0 when it may.
    int resendSecondsLeft_ = 0;
    bool isResending_ = false;
    // The provider of the browser sign-in under way.
    std::optional<OAuthProvider> browserProvider_;
    async::TaskScope::TaskId browserTask_ = 0;
    async::TaskScope::TaskId resendCountdown_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
